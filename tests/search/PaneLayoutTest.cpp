// Pane extents from stored proportions and the splitter's limits.
#include <gtest/gtest.h>

#include "search/PaneLayout.h"

namespace qel {
namespace {

TEST(PaneLayout, ExtentsComeFromStoredProportionsOrEqualShares) {
  EXPECT_EQ(paneExtents(3, 600, ""), (std::vector<int>{200, 200, 200}));
  EXPECT_EQ(paneExtents(2, 800, "400,100,300"), (std::vector<int>{200, 600}));
  EXPECT_EQ(paneExtents(3, 100, ""), (std::vector<int>{33, 34, 33}));
  // A text that does not describe this many panes, or is not numbers, gives equal shares.
  EXPECT_EQ(paneExtents(2, 800, "400,100,300,1"), (std::vector<int>{400, 400}));
  EXPECT_EQ(paneExtents(2, 800, "400,1x0,300"), (std::vector<int>{400, 400}));
  EXPECT_EQ(paneExtents(2, 800, "0,100,300"), (std::vector<int>{400, 400}));
  // Rounding never leaves a strip: the last pane ends at the area's end.
  EXPECT_EQ(paneExtents(3, 1000, "3,1,1,1"), (std::vector<int>{333, 333, 334}));
  EXPECT_EQ(paneExtents(1, 500, ""), (std::vector<int>{500}));
  EXPECT_TRUE(paneExtents(0, 500, "").empty());
}

TEST(PaneLayout, StoredTextRoundTrips) {
  const std::vector<int> extents{120, 300, 180};
  EXPECT_EQ(paneExtentsText(600, extents), "600,120,300,180");
  EXPECT_EQ(paneExtents(3, 600, paneExtentsText(600, extents)), extents);
  EXPECT_EQ(extentsOf(edgesOf(extents), 600), extents);
}

// A splitter keeps ten gaps from the neighbouring edges, in either direction.
TEST(PaneLayout, SplitterKeepsTenGapsFromItsNeighbours) {
  const std::vector<int> edges{0, 200, 400};
  const int area = 600, gap = 8;
  EXPECT_EQ(moveSplitter(edges, area, gap, 1, 150), (std::vector<int>{0, 150, 400}));
  EXPECT_EQ(moveSplitter(edges, area, gap, 1, 80), (std::vector<int>{0, 80, 400}));
  EXPECT_EQ(moveSplitter(edges, area, gap, 1, 79), edges);
  EXPECT_EQ(moveSplitter(edges, area, gap, 1, 320), (std::vector<int>{0, 320, 400}));
  EXPECT_EQ(moveSplitter(edges, area, gap, 1, 321), edges);
  EXPECT_EQ(moveSplitter(edges, area, gap, 2, 520), (std::vector<int>{0, 200, 520}));
  EXPECT_EQ(moveSplitter(edges, area, gap, 2, 521), edges);
  EXPECT_EQ(moveSplitter(edges, area, gap, 0, 10), edges);  // the first pane has no splitter
}

}  // namespace
}  // namespace qel
