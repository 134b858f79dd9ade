// The letter counts of a phrase anagram's letters packed into a few 64-bit words: one field per
// distinct letter, wide enough for that letter's count, with a guard bit above it. Taking a
// word's letters out of what is left is then one subtraction per 64-bit word, and the guard bits
// that survive say whether every letter was there.
#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace qel {

class PackedLetters {
 public:
  // Enough for every letter a search of at most 6 words of kLongestWord letters can use: a field
  // takes at most twice its letter's count in bits, and no field is split between two words.
  static constexpr int kMaxWords = 8;
  using Counts = std::array<int, 256>;  // per letter index

  // Lays out one field per letter with a count above 0. False when the letters need more than
  // kMaxWords words (more letters than any search can use).
  bool layOut(const Counts& counts);

  int words() const { return m_words; }
  // Every letter of the layout, guard bits set: where a search starts.
  std::span<const uint64_t> all() const { return {m_all.data(), static_cast<size_t>(m_words)}; }
  // Nothing left but the guard bits.
  std::span<const uint64_t> guards() const {
    return {m_guards.data(), static_cast<size_t>(m_words)};
  }
  bool holds(uint8_t letter) const { return m_unit[letter] != 0; }

  // Takes one `letter` out of `left` (guard bits set); false when `left` holds none of it, and
  // then `left` is no longer a count to use.
  bool take(uint64_t* left, uint8_t letter) const {
    const uint64_t unit = m_unit[letter];
    if (unit == 0) return false;
    uint64_t& word = left[m_word[letter]];
    word -= unit;
    return (word & m_guardOf[letter]) != 0;
  }
  // Whether every letter of `key` (no guard bits) is in `left` (guard bits set).
  bool fits(const uint64_t* left, const uint64_t* key) const {
    for (int w = 0; w < m_words; ++w) {
      if (((left[w] - key[w]) & m_guards[w]) != m_guards[w]) return false;
    }
    return true;
  }
  // `left` less `key`, which fits it, into `out`.
  void subtract(const uint64_t* left, const uint64_t* key, uint64_t* out) const {
    for (int w = 0; w < m_words; ++w) out[w] = left[w] - key[w];
  }
  // The letters of `left` without its guard bits, into `key`: what a word must hold to use them up.
  void strip(const uint64_t* left, uint64_t* key) const {
    for (int w = 0; w < m_words; ++w) key[w] = left[w] & ~m_guards[w];
  }
  bool empty(const uint64_t* left) const {
    for (int w = 0; w < m_words; ++w) {
      if (left[w] != m_guards[w]) return false;
    }
    return true;
  }
  uint64_t hash(const uint64_t* key) const;

  // The distinct letters of the layout, numbered 0 .. fieldCount() - 1.
  int fieldCount() const { return m_fieldCount; }
  // Whether `counts` (with or without guard bits) holds at least one of letter `field`.
  bool has(const uint64_t* counts, int field) const {
    return (counts[m_fields[field].word] & m_fields[field].bits) != 0;
  }

 private:
  int m_words = 0;
  std::array<uint64_t, kMaxWords> m_all{};
  std::array<uint64_t, kMaxWords> m_guards{};
  // Per letter index: 1 at the bottom of its field (0 for a letter not in the layout), the word
  // that holds the field and the field's guard bit.
  std::array<uint64_t, 256> m_unit{};
  std::array<uint8_t, 256> m_word{};
  std::array<uint64_t, 256> m_guardOf{};
  // Per distinct letter: the word that holds its field and the bits of its count.
  struct Field {
    uint8_t word = 0;
    uint64_t bits = 0;
  };
  std::array<Field, 256> m_fields{};
  int m_fieldCount = 0;
};

}  // namespace qel
