// Several word lists and dictionaries merged into one list of entries: duplicates are decided by
// the entries' folded letters, the result is sorted as a dictionary sorts its entries, and each
// input's counts say what it brought.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace qel {

class WordListMerge {
 public:
  enum class Duplicates {
    kKeepFirst,          // one entry per folded letter string: the first spelling met
    kKeepEverySpelling,  // every distinct spelling (and annotation); exact repeats go
  };

  // Which entries the result can hold.
  enum class Holds {
    kAnyEntry,          // a text file
    kDictionaryEntries  // a dictionary: up to kMaxEntryLength letters, and text that fits a
                        // reader's buffer
  };

  // What one input brought.
  struct InputCounts {
    std::string name;
    long entries = 0;     // entries read
    long added = 0;       // new entries
    long duplicates = 0;  // entries already held (their definitions still join the kept entry)
    long skipped = 0;     // entries the result cannot hold, or lines that could not be read
    // The skipped ones by reason, in the order the reasons were first met.
    std::vector<std::pair<std::string, long>> skippedFor;
  };

  explicit WordListMerge(Duplicates duplicates, Holds holds = Holds::kAnyEntry)
      : m_duplicates(duplicates), m_holds(holds) {}

  // Starts the next input: the counts that follow go under `name`.
  void beginInput(std::string name);
  // One entry of the current input (code page 1252). A definition the kept entry does not hold
  // yet is added to it, whichever input brings it. False for a duplicate or a skipped entry.
  bool add(std::string_view word, std::string_view annotation, std::string_view definition);
  // A further definition of the entry just added (or kept in its place), for an entry that has
  // several: counted as part of that entry.
  void addDefinition(std::string_view definition);
  // The entries of one line in the builder's line syntax (a plain word list is such a file): each
  // entry of the line, with the line's definition.
  void addSourceLine(std::string_view line);
  // A line of the current input that could not be read, and why.
  void skipLine(std::string_view reason);

  const std::vector<InputCounts>& counts() const { return m_counts; }
  size_t size() const { return m_entries.size(); }

  // The merged entries as lines of the builder's line syntax, sorted by folded letters and then
  // by text: one line per definition, or one line for an entry without any. Line feeds within a
  // definition become blanks, as a source line holds none.
  std::vector<std::string> sourceLines() const;

 private:
  struct Entry {
    std::string word;
    std::string annotation;
    std::vector<std::string> definitions;
  };

  std::string keyOf(std::string_view word, std::string_view annotation) const;
  void addTo(Entry& entry, std::string_view definition);
  // The reason the result cannot hold `word` with `annotation`, or null when it can.
  const char* whyNotHeld(std::string_view word, std::string_view annotation) const;

  Duplicates m_duplicates;
  Holds m_holds;
  std::vector<Entry> m_entries;
  std::unordered_map<std::string, uint32_t> m_index;  // key of each entry -> its place
  std::vector<InputCounts> m_counts;
  int64_t m_last = -1;  // the entry of the last add, or -1 after a skipped one
};

}  // namespace qel
