// The alphabet of a dictionary being built: canonical letters from the caller's fold table, letter
// indices ordered by use, and the form in which each letter is written into index terms.
#pragma once

#include <array>
#include <cstdint>

namespace qel::build {

using ByteTable = std::array<uint8_t, 256>;
using ByteCounts = std::array<uint64_t, 256>;

// Canonical letter of every byte: the fold chain i, fold[i], fold[fold[i]] ... is followed until it
// reaches 0 (not a letter) or a byte it has already visited (that byte). Bytes 0, 10 and 13 are
// never letters, and neither is a byte whose chain settles on one of them.
ByteTable canonicalLetters(const ByteTable& fold);

struct BuildAlphabet {
  ByteTable canonical{};                 // canonical letter per byte, 0 for a non-letter
  std::array<int16_t, 256> letterIndex;  // per byte, -1 for a non-letter
  ByteTable representative{};            // per letter index: its most frequent byte
  int active = 0;                        // S: letters used by the entries, indices 0 .. S-1
  int total = 0;                         // T: all letters of the fold table

  BuildAlphabet() { letterIndex.fill(-1); }
};

// Letters used by the entries come first, in byte order of their canonical letters, then the unused
// ones; every byte takes the index of its canonical letter.
BuildAlphabet analyseAlphabet(const ByteTable& canonical, const ByteCounts& frequency);

}  // namespace qel::build
