// Full-text search by reading: every record of the second definition region is read in turn and
// its text matched word by word against the patterns. Works for every pattern set, in slices.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "dictionary/DefinitionFile.h"

namespace qel {

class MatchEngineSet;
class QCDictionaryList;

class QCDictionaryDefinitionSearchSequential {
 public:
  static constexpr size_t kBufferSize = 256 * 1024;
  static constexpr int kMaxWordLetters = 32;  // a longer run of letters goes on as the next word
  static constexpr size_t kMaxHeading = 49;   // characters kept of each heading text

  enum class Step { Hit, Finished, BudgetUsed };

  // `fileTime`, when given, receives the dictionary's recorded last-write time. An invalid
  // dictionary or an unreadable file gives a search that finishes at once.
  QCDictionaryDefinitionSearchSequential(const QCDictionaryList& list, int dictionaryNumber,
                                         MatchEngineSet& patterns, int64_t* fileTime = nullptr);

  // Reads at most `budget` records: Hit at the first record whose words satisfy the patterns
  // (its headings and offset are then available), BudgetUsed when none of them did, Finished at
  // the end of the region.
  Step next(int budget);

  // The hit's first heading pair, each text cut to kMaxHeading characters (empty without pairs).
  const std::string& heading() const { return m_heading1; }
  const std::string& secondHeading() const { return m_heading2; }
  uint32_t recordOffset() const { return m_recordOffset; }

  // Bytes of the region read so far, and the region's size.
  uint64_t position() const { return m_position - m_start; }
  uint64_t total() const { return m_end - m_start; }

 private:
  // Makes m_position readable in the buffer; false at the end of the region.
  bool fill();
  bool readByte(uint8_t& byte);
  // Reads a masked string up to its end; keeps at most kMaxHeading characters in `text` when
  // given. False when the region ended first.
  bool readString(std::string* text);
  // Reads the masked body: a pointer to its bytes (still masked) and their count.
  const uint8_t* readBody(size_t& size);
  bool bodyMatches(const uint8_t* body, size_t size);
  // Offers each word of `text` to the patterns it still needs; true once none is left.
  bool scanWords(const uint8_t* text, size_t size, const uint8_t* letterIndex, uint8_t unmask);
  bool endWord(int letters);

  MatchEngineSet& m_patterns;
  bool m_usable = false;
  DefinitionFile m_file;
  std::vector<uint8_t> m_buffer;
  uint64_t m_bufferStart = 0;  // file offset of m_buffer[0]
  size_t m_bufferSize = 0;     // bytes of the buffer that hold data
  uint64_t m_start = 0, m_end = 0, m_position = 0;

  std::string m_heading1, m_heading2;
  uint32_t m_recordOffset = 0;

  // Letter index of each masked byte (and of each plain byte, for rich text reduced to plain).
  uint8_t m_maskedLetter[256];
  uint8_t m_plainLetter[256];
  struct PatternSlot {
    size_t slot;
    int shortest, longest;
  };
  std::vector<PatternSlot> m_patternSlots;
  std::vector<uint8_t> m_marked;  // per slot: the pattern matched a word of this record
  size_t m_unmatched = 0;
  uint8_t m_word[kMaxWordLetters + 1];
  char m_wordText[kMaxWordLetters + 1];
  std::string m_scratch, m_plain;
};

}  // namespace qel
