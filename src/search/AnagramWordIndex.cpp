#include "search/AnagramWordIndex.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>

#include "pattern/FoldedCompare.h"

namespace qel {

void AnagramWordIndex::reset(const PackedLetters& layout) {
  m_layout = &layout;
  m_words = layout.words();
  m_texts.clear();
  m_entries.clear();
  m_keys.clear();
  m_groups.clear();
  m_table.clear();
  m_withLetter.clear();
}

void AnagramWordIndex::add(std::string_view text, int letterCount, const uint64_t* key) {
  // Offsets are 32 bits: a dictionary's texts come nowhere near, but nothing is stored past them.
  if (m_texts.size() + text.size() > std::numeric_limits<uint32_t>::max()) return;
  Entry e;
  e.text = static_cast<uint32_t>(m_texts.size());
  e.size = static_cast<uint32_t>(text.size());
  e.key = static_cast<uint32_t>(m_entries.size());
  e.letters = letterCount;
  m_texts.append(text);
  m_keys.insert(m_keys.end(), key, key + m_words);
  m_entries.push_back(e);
}

void AnagramWordIndex::finish() {
  const auto keyOf = [&](const Entry& e) { return &m_keys[size_t(e.key) * m_words]; };
  const auto textOf = [&](const Entry& e) {
    return std::string_view(m_texts).substr(e.text, e.size);
  };
  // Longest first; equal letters together; within them the dictionary's own order: by folded
  // letters, then byte by byte.
  std::sort(m_entries.begin(), m_entries.end(), [&](const Entry& a, const Entry& b) {
    if (a.letters != b.letters) return a.letters > b.letters;
    const int c = std::memcmp(keyOf(a), keyOf(b), sizeof(uint64_t) * m_words);
    if (c != 0) return c < 0;
    const int f = folded::compare(textOf(a), textOf(b));
    if (f != 0) return f < 0;
    return textOf(a) < textOf(b);
  });
  std::vector<Entry> entries;
  std::vector<uint64_t> keys;
  entries.reserve(m_entries.size());
  for (const Entry& e : m_entries) {
    const bool sameLetters =
        !m_groups.empty() && m_groups.back().letters == e.letters &&
        std::memcmp(&keys[keys.size() - m_words], keyOf(e), sizeof(uint64_t) * m_words) == 0;
    if (sameLetters && textOf(entries.back()) == textOf(e)) continue;  // the same text again
    if (!sameLetters) {
      Group g;
      g.firstEntry = static_cast<uint32_t>(entries.size());
      g.letters = e.letters;
      m_groups.push_back(g);
      keys.insert(keys.end(), keyOf(e), keyOf(e) + m_words);
    }
    ++m_groups.back().entryCount;
    Entry kept = e;
    kept.key = static_cast<uint32_t>(m_groups.size() - 1);
    entries.push_back(kept);
  }
  m_entries = std::move(entries);
  m_keys = std::move(keys);

  const size_t slots = std::bit_ceil(std::max<size_t>(2 * m_groups.size(), 16));
  m_table.assign(slots, 0);
  for (int g = 0; g < groupCount(); ++g) {
    size_t slot = m_layout->hash(key(g)) & (slots - 1);
    while (m_table[slot] != 0) slot = (slot + 1) & (slots - 1);
    m_table[slot] = g + 1;
  }
  m_withLetter.assign(static_cast<size_t>(m_layout->fieldCount()), {});
  for (int g = 0; g < groupCount(); ++g) {
    for (int f = 0; f < m_layout->fieldCount(); ++f) {
      if (m_layout->has(key(g), f)) m_withLetter[static_cast<size_t>(f)].push_back(g);
    }
  }
}

int AnagramWordIndex::find(const uint64_t* wanted) const {
  if (m_table.empty()) return -1;
  const size_t mask = m_table.size() - 1;
  for (size_t slot = m_layout->hash(wanted) & mask; m_table[slot] != 0; slot = (slot + 1) & mask) {
    const int g = m_table[slot] - 1;
    if (std::memcmp(key(g), wanted, sizeof(uint64_t) * m_words) == 0) return g;
  }
  return -1;
}

}  // namespace qel
