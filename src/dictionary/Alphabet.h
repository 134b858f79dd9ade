// A dictionary's alphabet: which characters are letters, their letter indices and how each index is
// shown. Read from a dictionary's symbol records; the pattern compiler and the matcher use it.
#pragma once

#include <array>
#include <cstdint>

namespace qel {

inline constexpr uint8_t kNotALetter = 255;
inline constexpr uint8_t kEndOfLetters = 0xFF;

struct Alphabet {
  // Letter index 0..T-1 of each byte value, kNotALetter for a non-letter.
  std::array<uint8_t, 256> letterIndex{};
  // Character shown for each letter index ('!' for an index that no symbol carries).
  std::array<uint8_t, 256> character{};
  // Canonical letter each byte folds to, 0 for a non-letter.
  std::array<uint8_t, 256> canonical{};
  int active = 0;  // S: letters that occur in the entries, indices 0..S-1
  int total = 0;   // T: all letters of the alphabet

  bool isLetter(uint8_t c) const { return letterIndex[c] != kNotALetter; }
};

}  // namespace qel
