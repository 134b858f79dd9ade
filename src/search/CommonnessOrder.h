// The order "most common first" lists results in: by commonness rank, within each length group
// when results are grouped by length. Results of one rank keep the order they had, so that with
// alphabetical sorting on, words of one rank stay alphabetical.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace qel {

class CommonnessRanks;
class ResultList;

// The indices of results in the order of their keys, results of one key in the order they have.
std::vector<long> orderByKeys(const std::vector<uint32_t>& keys);

// The order phrase anagrams are listed in when the dictionary has ranks: combinations of common
// words first (a combination ranks as its rarest word), fewer words before more, and otherwise in
// the order they were found. `rows` are the combinations, words apart by blanks.
std::vector<long> commonPhrasesFirstOrder(const std::vector<std::string_view>& rows,
                                          const CommonnessRanks& ranks);

// The indices of `results` in that order; `rankOf`, when given, receives each result's rank.
std::vector<long> commonFirstOrder(const ResultList& results, const CommonnessRanks& ranks,
                                   bool grouping, bool groupingAscending,
                                   std::vector<uint8_t>* rankOf = nullptr);

}  // namespace qel
