#include "search/PackedLetters.h"

#include <bit>

namespace qel {

bool PackedLetters::layOut(const Counts& counts) {
  *this = PackedLetters();
  int word = 0;
  int used = 0;  // bits of the current word taken
  for (int letter = 0; letter < 256; ++letter) {
    const int count = counts[letter];
    if (count <= 0) continue;
    // The field holds the count and the guard bit above it; the guard stays set while no more
    // than `count` are taken, and the first one more clears it without reaching the next field.
    const int valueBits = std::bit_width(static_cast<unsigned>(count));
    const int width = valueBits + 1;
    if (used + width > 64) {
      ++word;
      used = 0;
    }
    if (word >= kMaxWords) {
      *this = PackedLetters();
      return false;
    }
    const uint64_t unit = uint64_t{1} << used;
    const uint64_t guard = unit << valueBits;
    m_unit[letter] = unit;
    m_word[letter] = static_cast<uint8_t>(word);
    m_guardOf[letter] = guard;
    m_guards[word] |= guard;
    m_all[word] |= guard | unit * static_cast<uint64_t>(count);
    m_fields[m_fieldCount++] = {static_cast<uint8_t>(word), guard - unit};
    used += width;
    m_words = word + 1;
  }
  return true;
}

uint64_t PackedLetters::hash(const uint64_t* key) const {
  uint64_t h = 0x9E3779B97F4A7C15ull;
  for (int w = 0; w < m_words; ++w) {
    h ^= key[w];
    h *= 0xBF58476D1CE4E5B9ull;
    h ^= h >> 31;
  }
  return h;
}

}  // namespace qel
