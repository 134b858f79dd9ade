// The order "most common first" lists results in: by commonness rank, within each length group
// when results are grouped by length. Results of one rank keep the order they had, so that with
// alphabetical sorting on, words of one rank stay alphabetical.
#pragma once

#include <cstdint>
#include <vector>

namespace qel {

class CommonnessRanks;
class ResultList;

// The indices of results in the order of their keys, results of one key in the order they have.
std::vector<long> orderByKeys(const std::vector<uint32_t>& keys);

// The indices of `results` in that order; `rankOf`, when given, receives each result's rank.
std::vector<long> commonFirstOrder(const ResultList& results, const CommonnessRanks& ranks,
                                   bool grouping, bool groupingAscending,
                                   std::vector<uint8_t>* rankOf = nullptr);

}  // namespace qel
