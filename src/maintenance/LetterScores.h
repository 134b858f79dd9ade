// Letter-position scores: for every length and position, how strongly each letter is favoured
// there compared with an even spread over the letters that occur at that position.
#pragma once

#include <cstdint>
#include <vector>

#include "maintenance/BuildState.h"

namespace qel::build {

// log2(c * n / t) rounded half away from zero; -128 when c is 0.
int8_t letterScore(uint64_t c, uint64_t t, int n);

// The score blocks of lengths 1 .. N-1, positions 0 .. L-1, S bytes each, in file order.
std::vector<int8_t> letterScores(const BuildState& state);

}  // namespace qel::build
