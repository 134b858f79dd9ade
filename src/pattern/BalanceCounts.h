// Anagram balance of the last entry matched: per letter index, how many letters the word has
// beyond the anagram's (positive) or lacks (negative).
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "dictionary/Alphabet.h"

namespace qel::pattern {

struct BalanceCounts {
  int useCount = 0;  // anagram parts that matched during the last match
  std::array<int, 256> counts{};
};

// "-" and the missing letters, then "+" and the surplus letters, each in letter-index order,
// behind the prefix; empty when there is nothing to show or not exactly one balance was made.
std::string balanceText(const BalanceCounts& balance, const Alphabet& alphabet,
                        std::string_view prefix);

}  // namespace qel::pattern
