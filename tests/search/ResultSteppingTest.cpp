// Next and previous result through the panes.
#include <gtest/gtest.h>

#include "search/ResultStepping.h"

namespace qel {
namespace {

std::optional<std::pair<int, long>> step(const std::vector<PaneRows>& panes, int active,
                                         bool next) {
  const auto s = resultStep(panes, active, next);
  if (!s) return std::nullopt;
  return std::make_pair(s->pane, s->row);
}

TEST(ResultStepping, WithinThePaneThenIntoTheNextPaneThatHasResults) {
  const std::vector<PaneRows> panes = {{2, 3}, {-1, 0}, {-1, 4}};
  EXPECT_EQ(step(panes, 0, false), std::make_pair(0, 1L));
  EXPECT_EQ(step(panes, 0, true), std::make_pair(2, 0L));   // the empty pane is passed over
  EXPECT_EQ(step(panes, 2, false), std::make_pair(0, 2L));  // no caret: the pane before
  EXPECT_EQ(step({{0, 3}}, 0, false), std::nullopt);
  EXPECT_EQ(step({{2, 3}}, 0, true), std::nullopt);
  EXPECT_EQ(step({}, 0, true), std::nullopt);
  EXPECT_EQ(step({{-1, 3}}, 0, true), std::nullopt);  // nothing was looked up in it
}

}  // namespace
}  // namespace qel
