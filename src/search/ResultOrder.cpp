// Orders of a results list, over the folded letters of the entries.
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
  const int code = static_cast<int>(order);
  if (code == 0) return false;
  if (code >= 3) {
    const int la = folded::letterCount(a), lb = folded::letterCount(b);
    if (la != lb) return code <= 4 ? la < lb : la > lb;
  }
  const int c = folded::compare(a, b);
  return code % 2 == 1 ? c < 0 : c > 0;
}

}  // namespace qel
