// Reads one dictionary once for the words a phrase anagram may use: the entries whose letters all
// lie in the anagram's letters, of the wanted kind and lengths, that match the user's pattern. In
// slices, so that a window stays responsive while a large dictionary is read.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "dictionary/EntryFilter.h"
#include "pattern/PatternLimits.h"
#include "search/AnagramWordIndex.h"
#include "search/PackedLetters.h"

namespace qel {

class EntryEnumerator;
class MatchEngineSet;
class QCDictionaryList;
struct Alphabet;

class AnagramWordReader {
 public:
  struct Rules {
    int shortest = 1;
    int longest = pattern::kLongestWord;
    bool phrases = false;               // entries with blanks or punctuation too
    MatchEngineSet* pattern = nullptr;  // each word must match it; null for any
  };

  // Everything given must outlive the reader.
  AnagramWordReader(QCDictionaryList& list, int dictionary, const PackedLetters& layout,
                    const Rules& rules, AnagramWordIndex& index);
  ~AnagramWordReader();
  AnagramWordReader(const AnagramWordReader&) = delete;
  AnagramWordReader& operator=(const AnagramWordReader&) = delete;

  // Reads on until about `work` entries were examined (taken off `work`); false once every
  // length is read.
  bool read(long& work);
  long examined() const;
  long total() const { return m_total; }

 private:
  // The letter-count test, made on every entry of the lengths read: cheap, and it turns most
  // entries away at their first letter.
  class LettersFilter : public EntryFilter {
   public:
    explicit LettersFilter(const PackedLetters& layout) : m_layout(layout) {}
    bool accepts(const uint8_t* letters, int length, const char* text) override;
    bool readsText() const override { return false; }
    bool acceptsAlike() const override { return true; }

   private:
    const PackedLetters& m_layout;
  };

  bool selectNextLength();
  // Adds the entry when it is of the wanted kind and matches the pattern.
  void consider(std::string_view word);

  QCDictionaryList& m_list;
  int m_dictionary;
  const Alphabet& m_alphabet;
  const PackedLetters& m_layout;
  Rules m_rules;
  AnagramWordIndex& m_index;
  LettersFilter m_filter;
  std::unique_ptr<EntryEnumerator> m_enumerator;
  int m_length = 0;           // the length being read, 0 before the first
  bool m_reading = false;     // a length is selected and not yet read to its end
  long m_examinedBefore = 0;  // entries of the lengths read to their end, or passed over
  long m_total = 0;
};

}  // namespace qel
