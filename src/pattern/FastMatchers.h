// The fast matchers, which decide the kinds of pattern most searches use from an entry's letters
// alone: templates, plain anagrams, choice runs, variable templates and affixes. Other patterns
// need the general matcher (Matcher).
#pragma once

#include <cstdint>

#include "pattern/BalanceCounts.h"
#include "pattern/CompiledPattern.h"

namespace qel::pattern {

// Balance counts of an anagram part made of plain letters only: the letters of the word part
// from `letters` on, less the anagram's.
void recordPlainBalance(BalanceCounts& balance, const uint8_t* letters, int length,
                        const uint8_t* items);

// Whether the entry matches, from its letters alone: 1 match, 0 no match, -1 when the pattern
// needs the general matcher. The length must lie within the pattern's lengths. An anagram with
// match-alls also leaves its balance in `balance` when it matches.
int matchFast(const CompiledPattern& pattern, const uint8_t* letters, int length,
              BalanceCounts* balance = nullptr);

// The letters a template or an affix pattern fixes by position in an entry of `length` letters,
// which is all such a pattern asks: up to `capacity` (position, letter) pairs into `checks`.
// Returns how many, or -1 for another kind of pattern or more than `capacity` letters.
int fixedLetterChecks(const CompiledPattern& pattern, int length, uint8_t (*checks)[2],
                      int capacity);

}  // namespace qel::pattern
