#include "maintenance/BuildAlphabet.h"

#include <bitset>

namespace qel::build {

ByteTable canonicalLetters(const ByteTable& fold) {
  ByteTable canonical{};
  for (int i = 0; i < 256; ++i) {
    std::bitset<256> visited;
    int value = i;
    int result = 0;
    for (;;) {
      visited.set(value);
      const int next = fold[value];
      if (next == 0) break;
      if (visited.test(next)) {
        result = next;
        break;
      }
      value = next;
    }
    if (result == 10 || result == 13) result = 0;
    canonical[i] = static_cast<uint8_t>(result);
  }
  canonical[0] = canonical[10] = canonical[13] = 0;
  return canonical;
}

BuildAlphabet analyseAlphabet(const ByteTable& canonical, const ByteCounts& frequency) {
  BuildAlphabet alphabet;
  alphabet.canonical = canonical;

  ByteCounts letterFrequency{};
  for (int i = 0; i < 256; ++i) {
    if (canonical[i] != 0) letterFrequency[canonical[i]] += frequency[i];
  }
  std::array<int16_t, 256> indexOfCanonical;
  indexOfCanonical.fill(-1);
  int next = 0;
  for (int pass = 0; pass < 2; ++pass) {  // used letters first, then the rest
    for (int c = 1; c < 256; ++c) {
      if (canonical[c] != c || (letterFrequency[c] > 0) != (pass == 0)) continue;
      indexOfCanonical[c] = static_cast<int16_t>(next++);
    }
    if (pass == 0) alphabet.active = next;
  }
  alphabet.total = next;

  std::array<bool, 256> hasForm{};
  for (int i = 0; i < 256; ++i) {
    if (canonical[i] == 0) continue;
    const int index = indexOfCanonical[canonical[i]];
    alphabet.letterIndex[i] = static_cast<int16_t>(index);
    // Bytes are visited in order, so on a tie the first keeps its place.
    if (!hasForm[index] || frequency[i] > frequency[alphabet.representative[index]]) {
      alphabet.representative[index] = static_cast<uint8_t>(i);
      hasForm[index] = true;
    }
  }
  return alphabet;
}

}  // namespace qel::build
