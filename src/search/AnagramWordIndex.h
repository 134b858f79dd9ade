// The words a phrase anagram may use, grouped by their letters: each group keeps its letters once
// (packed) and its entries' texts in dictionary order. Groups are ordered longest first; for each
// letter a list holds the groups that have it, so that a search can try only the words that can
// use up a given letter, and a table finds the group that holds exactly the letters left, so that
// the last word of a combination is one look-up.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "search/PackedLetters.h"

namespace qel {

class AnagramWordIndex {
 public:
  // Empties the index for words packed with `layout`, which must outlive it.
  void reset(const PackedLetters& layout);
  // An entry of `letterCount` letters whose packed letters are `key`. An entry whose text was
  // added before is kept once.
  void add(std::string_view text, int letterCount, const uint64_t* key);
  // Groups what was added; nothing is added after.
  void finish();

  int groupCount() const { return static_cast<int>(m_groups.size()); }
  int letters(int group) const { return m_groups[group].letters; }
  const uint64_t* key(int group) const { return &m_keys[size_t(group) * m_words]; }
  // The group's entries are firstEntry .. firstEntry + entryCount - 1.
  uint32_t firstEntry(int group) const { return m_groups[group].firstEntry; }
  uint32_t entryCount(int group) const { return m_groups[group].entryCount; }
  size_t entryCount() const { return m_entries.size(); }
  // The groups whose words have letter `field` of the layout, in group order.
  const std::vector<int32_t>& groupsWith(int field) const { return m_withLetter[field]; }
  std::string_view text(uint32_t entry) const {
    return std::string_view(m_texts).substr(m_entries[entry].text, m_entries[entry].size);
  }
  // The group whose letters are exactly `key` (no guard bits), or -1.
  int find(const uint64_t* key) const;

 private:
  struct Entry {
    uint32_t text = 0;  // offset into m_texts
    uint32_t size = 0;
    uint32_t key = 0;  // index of its letters in m_keys (while adding), then its group
    int letters = 0;
  };
  struct Group {
    uint32_t firstEntry = 0;
    uint32_t entryCount = 0;
    int letters = 0;
  };

  const PackedLetters* m_layout = nullptr;
  int m_words = 0;
  std::string m_texts;
  std::vector<Entry> m_entries;
  std::vector<uint64_t> m_keys;  // m_words per entry while adding, then per group
  std::vector<Group> m_groups;
  std::vector<int32_t> m_table;  // open addressing over groups: group + 1, 0 for a free slot
  std::vector<std::vector<int32_t>> m_withLetter;  // per field of the layout
};

}  // namespace qel
