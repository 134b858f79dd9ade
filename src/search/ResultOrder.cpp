// Orders of a results list, over the folded letters of the entries.
#include <algorithm>

#include "pattern/FoldedCompare.h"
#include "search/ResultRecord.h"

namespace qel {

ResultOrder resultOrderFor(bool sorting, bool sortingAscending, bool grouping,
                           bool groupingAscending) {
  if (!sorting) return ResultOrder::Discovery;
  int code = !grouping ? 1 : groupingAscending ? 3 : 5;
  if (!sortingAscending) ++code;
  return static_cast<ResultOrder>(code);
}

std::string separated(std::string_view part) {
  if (part.empty() || part.front() == ' ') return std::string(part);
  std::string text = " ";
  return text.append(part);
}

bool sortsBefore(std::string_view a, std::string_view b, ResultOrder order) {
  if (static_cast<int>(order) < 3) return sortsBefore(a, 0, b, 0, order);
  return sortsBefore(a, folded::letterCount(a), b, folded::letterCount(b), order);
}

bool sortsBefore(std::string_view a, int aLetters, std::string_view b, int bLetters,
                 ResultOrder order) {
  const int code = static_cast<int>(order);
  if (code == 0) return false;
  if (code >= 3 && aLetters != bLetters) {
    return code <= 4 ? aLetters < bLetters : aLetters > bLetters;
  }
  const int c = folded::compare(a, b);
  return code % 2 == 1 ? c < 0 : c > 0;
}

uint64_t orderKey(std::string_view entry, int letters, ResultOrder order) {
  constexpr int kPrefixLetters = 7;
  uint64_t prefix = 0;
  int taken = 0;
  for (size_t i = 0; i < entry.size() && taken < kPrefixLetters; ++i) {
    const uint8_t f = folded::fold(static_cast<uint8_t>(entry[i]));
    if (f == 0) continue;
    // Folded letters compare as signed bytes; flipping the top bit makes that an unsigned order in
    // which every letter stays above the 0 that pads a short entry.
    prefix = prefix << 8 | static_cast<uint8_t>(f ^ 0x80);
    ++taken;
  }
  prefix <<= 8 * (kPrefixLetters - taken);
  const int code = static_cast<int>(order);
  constexpr uint64_t kPrefixMask = (uint64_t{1} << (8 * kPrefixLetters)) - 1;
  if (code % 2 == 0) prefix = ~prefix & kPrefixMask;
  const uint64_t count = static_cast<uint64_t>(std::min(letters, 255));
  const uint64_t group = code < 3 ? 0 : code <= 4 ? count : 255 - count;
  return group << (8 * kPrefixLetters) | prefix;
}

}  // namespace qel
