#include "search/CommonnessOrder.h"

#include <algorithm>
#include <cstdint>

#include "dictionary/CommonnessRanks.h"
#include "pattern/FoldedCompare.h"
#include "search/ResultList.h"

namespace qel {

std::vector<long> commonFirstOrder(const ResultList& results, const CommonnessRanks& ranks,
                                   bool grouping, bool groupingAscending,
                                   std::vector<uint8_t>* rankOf) {
  const long count = results.count();
  // One key per result, worked out once: its length group above its rank.
  std::vector<uint32_t> keys(static_cast<size_t>(count));
  // Slots asked for this far ahead of their lookup arrive in time.
  constexpr long kAhead = 8;
  for (long i = 0; i < std::min(count, kAhead); ++i) ranks.prefetch(results.record(i)->entry());
  for (long i = 0; i < count; ++i) {
    if (i + kAhead < count) ranks.prefetch(results.record(i + kAhead)->entry());
    const ResultRecord* record = results.record(i);
    uint32_t group = 0;
    if (grouping) {
      const int letters =
          record->letterCount ? record->letterCount : folded::letterCount(record->entry());
      group = static_cast<uint32_t>(groupingAscending ? letters : 255 - letters);
    }
    keys[static_cast<size_t>(i)] = group << 8 | ranks.rankOf(record->entry());
  }
  if (rankOf) {
    rankOf->resize(keys.size());
    for (size_t i = 0; i < keys.size(); ++i) (*rankOf)[i] = static_cast<uint8_t>(keys[i]);
  }
  return orderByKeys(keys);
}

std::vector<long> commonPhrasesFirstOrder(const std::vector<std::string_view>& rows,
                                          const CommonnessRanks& ranks) {
  std::vector<uint32_t> keys(rows.size());
  for (size_t i = 0; i < rows.size(); ++i) {
    const std::string_view row = rows[i];
    keys[i] = uint32_t{ranks.rankOfWords(row)} << 8 |
              static_cast<uint32_t>(std::count(row.begin(), row.end(), ' '));
  }
  return orderByKeys(keys);
}

std::vector<long> orderByKeys(const std::vector<uint32_t>& keys) {
  // Each key with its index below it: a plain sort of the numbers is then a stable sort of the
  // results (a list holds fewer than 2^32).
  std::vector<uint64_t> sorted(keys.size());
  for (size_t i = 0; i < keys.size(); ++i) sorted[i] = uint64_t{keys[i]} << 32 | i;
  std::sort(sorted.begin(), sorted.end());
  std::vector<long> order(sorted.size());
  for (size_t i = 0; i < sorted.size(); ++i) order[i] = static_cast<long>(sorted[i] & 0xFFFFFFFFu);
  return order;
}

}  // namespace qel
