#include "maintenance/LetterScores.h"

#include <algorithm>
#include <cmath>

namespace qel::build {

int8_t letterScore(uint64_t c, uint64_t t, int n) {
  if (c == 0 || t == 0) return format::kNoScore;
  const double score = std::round(std::log2(static_cast<double>(c) * n / static_cast<double>(t)));
  return static_cast<int8_t>(std::clamp(score, -127.0, 127.0));
}

std::vector<int8_t> letterScores(const BuildState& state) {
  const int n = state.header.slots;
  const int s = state.alphabet.active;
  std::vector<int8_t> scores(static_cast<size_t>(format::scoreBlockCount(n)) * s);
  std::vector<uint64_t> counts;
  size_t block = 0;  // first block of the current length
  for (int length = 1; length < n; ++length) {
    const LengthGroup& group = state.lengths[length];
    counts.assign(static_cast<size_t>(length) * s, 0);
    for (size_t e = 0; e < group.distinct(); ++e) {
      const EntryRecord& r = group.records[group.runStarts[e]];
      int position = 0;
      for (char c : state.text(r).substr(0, r.wordSize)) {
        const int index = state.alphabet.letterIndex[static_cast<uint8_t>(c)];
        if (index >= 0) ++counts[static_cast<size_t>(position++) * s + index];
      }
    }
    for (int position = 0; position < length; ++position) {
      const uint64_t* c = &counts[static_cast<size_t>(position) * s];
      uint64_t total = 0;
      int used = 0;
      for (int k = 0; k < s; ++k) {
        total += c[k];
        used += c[k] > 0;
      }
      int8_t* out = &scores[(block + position) * s];
      for (int k = 0; k < s; ++k) out[k] = letterScore(c[k], total, used);
    }
    block += length;
  }
  return scores;
}

}  // namespace qel::build
