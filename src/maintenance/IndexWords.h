// The words of the indexed definition bodies, each with the numbers of the definitions it occurs
// in. Words are kept as strings of canonical letters, so that every spelling of a word (capitals,
// accents) is one word, and so that an entry finds its word by its own canonical letters.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qel::build {

inline constexpr uint32_t kNoWord = 0xFFFFFFFFu;

struct IndexWord {
  uint64_t keyOffset = 0;
  uint8_t letters = 0;
  bool notListed = false;         // too common: its list was dropped
  bool carried = false;           // an entry with the same letters points at its list
  bool term = false;              // written as an index term
  uint32_t listOffset = 0;        // file offset of its reference list, 0 before (or without) one
  std::vector<uint32_t> numbers;  // definition numbers, ascending
};

class IndexWords {
 public:
  // Records that `word` (canonical letters, 1 .. kLongestWord of them) occurs in definition
  // `number`; numbers arrive in ascending order. With `commonPercentage` above 0, a word found in
  // more than that share of the definitions so far loses its list once the list is longer than 100.
  void add(std::string_view word, uint32_t number, int commonPercentage);
  uint32_t find(std::string_view word) const;

  size_t size() const { return m_words.size(); }
  IndexWord& operator[](uint32_t id) { return m_words[id]; }
  const IndexWord& operator[](uint32_t id) const { return m_words[id]; }
  std::string_view key(uint32_t id) const {
    return std::string_view(m_keys).substr(m_words[id].keyOffset, m_words[id].letters);
  }
  // Whether the word will have a value to point at: a reference list or the not-listed mark.
  bool present(uint32_t id) const { return m_words[id].notListed || m_words[id].listOffset != 0; }

 private:
  uint32_t insert(std::string_view word, uint64_t hash);
  uint32_t lookup(std::string_view word, uint64_t hash) const;  // slot index
  void grow();

  std::string m_keys;
  std::vector<IndexWord> m_words;
  std::vector<uint32_t> m_slots;  // open addressing: word id + 1, 0 for a free slot
};

}  // namespace qel::build
