// Printed results: margins in device units, pages from the items' widths, and where a page's
// columns stand. Every item must land on a page laid out for a width at least its own.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "search/PrintPagination.h"
#include "search/QELPrintoutFeeder.h"
#include "search/ResultList.h"

namespace qel {
namespace {

using Pages = std::vector<PrintPage>;

Pages paginate(const std::vector<int>& widths, int printableWidth, int lines, int gap) {
  PrintPagination p(printableWidth, lines, gap);
  for (int w : widths) p.add(w);
  return p.pages();
}

TEST(PrintMargins, UnitsBecomeDeviceUnits) {
  // One inch from units 4 and 1000, at any resolution.
  EXPECT_EQ(marginInDeviceUnits(1000, kThousandthsOfAnInch, 1200), 1200);
  EXPECT_EQ(marginInDeviceUnits(1000, kThousandthsOfAnInch, 96), 96);
  EXPECT_EQ(marginInDeviceUnits(2540, kHundredthsOfAMillimetre, 600), 600);
  EXPECT_EQ(marginInDeviceUnits(1500, kHundredthsOfAMillimetre, 300), 177);  // 177.17
  EXPECT_EQ(marginInDeviceUnits(5, kThousandthsOfAnInch, 100), 1);           // 0.5 rounds up
  EXPECT_EQ(marginInDeviceUnits(-200, kThousandthsOfAnInch, 300), 0);
}

// A page whose widest item leaves room for 3 columns of 60 lines holds 180 items; a wider item
// arriving as item 150, leaving room for 2 columns, closes the page at 120 items.
TEST(PrintPagination, AWiderItemClosesThePageAtAWholeColumn) {
  // Printable width 300, gap 0: width 100 gives 3 columns, width 150 gives 2.
  std::vector<int> widths(150, 100);
  widths.push_back(150);
  widths.resize(400, 100);
  const Pages pages = paginate(widths, 300, 60, 0);
  ASSERT_GE(pages.size(), 2u);
  EXPECT_EQ(pages[0], (PrintPage{120, 100}));
  EXPECT_EQ(pages[1], (PrintPage{240, 150}));

  // Without the wider item the first page holds 180.
  EXPECT_EQ(paginate(std::vector<int>(181, 100), 300, 60, 0), (Pages{{180, 100}, {360, 100}}));
  // A wider item that still fits narrows the page instead: 120 > 100.
  std::vector<int> early(100, 100);
  early.push_back(150);
  EXPECT_EQ(paginate(early, 300, 60, 0), (Pages{{120, 150}}));
}

// The cases where closing at the old column count less one, or letting a page that can hold
// exactly the items before the wider one keep it, would print an item on a page laid out for
// narrower ones.
TEST(PrintPagination, EveryItemFitsTheColumnsOfItsPage) {
  // 3 columns of 60; item 70 needs the whole width: the page closes after its first column.
  std::vector<int> widths(70, 100);
  widths.push_back(300);
  EXPECT_EQ(paginate(widths, 300, 60, 0), (Pages{{60, 100}, {120, 300}}));
  // 3 columns of 60; item 120 leaves room for 2 columns, which hold exactly items 0..119.
  widths.assign(120, 100);
  widths.push_back(150);
  widths.push_back(100);
  EXPECT_EQ(paginate(widths, 300, 60, 0), (Pages{{120, 100}, {240, 150}}));

  // Random widths: each item lies on exactly one page, that page is wide enough for it, and its
  // columns fit the printable width.
  std::mt19937 random(7);
  for (int round = 0; round < 200; ++round) {
    const int lines = 1 + static_cast<int>(random() % 9);
    const int printable = 50 + static_cast<int>(random() % 400);
    const int gap = static_cast<int>(random() % 10);
    std::vector<int> w(1 + random() % 300);
    for (int& x : w) x = 1 + static_cast<int>(random() % 120);
    const Pages pages = paginate(w, printable, lines, gap);
    const long count = static_cast<long>(w.size());
    long start = 0;
    for (size_t p = 0; p < pages.size(); ++p) {
      SCOPED_TRACE(testing::Message() << "round " << round << " page " << p);
      ASSERT_GT(pages[p].end, start);
      ASSERT_EQ((pages[p].end - start) % lines, 0);
      for (long i = start; i < std::min(pages[p].end, count); ++i) ASSERT_LE(w[i], pages[p].width);
      const PrintPageColumns c =
          printPageColumns(pages, static_cast<int>(p), count, lines, printable);
      ASSERT_GE(c.columns, 1);
      if (c.columns > 1) {
        ASSERT_LE(c.columns * (pages[p].width + gap), printable);
      }
      start = pages[p].end;
    }
    ASSERT_GE(start, count);
  }
}

TEST(PrintPagination, ColumnsSpreadFromMarginToMargin) {
  const Pages pages{{180, 100}, {360, 100}};
  const PrintPageColumns first = printPageColumns(pages, 0, 200, 60, 310);
  EXPECT_EQ(first.first, 0);
  EXPECT_EQ(first.last, 180);
  EXPECT_EQ(first.columns, 3);
  EXPECT_EQ(first.pitch, 105);  // 2 x 105 + 100 = 310
  // The last page holds only what is left.
  const PrintPageColumns last = printPageColumns(pages, 1, 200, 60, 310);
  EXPECT_EQ(last.first, 180);
  EXPECT_EQ(last.last, 200);
  EXPECT_EQ(last.columns, 3);
  EXPECT_EQ(printPageColumns({{50, 300}}, 0, 50, 50, 250).columns, 1);
}

TEST(QELPrintoutFeeder, SelectionModeFeedsTheSelectedResultsInListOrder) {
  ResultList results;
  for (const char* w : {"a", "b", "c", "d", "e", "f"}) results.add(w, "", "", 0);
  results.selection().setRange(1, 2, true);
  results.selection().setRange(4, 4, true);
  QELPrintoutFeeder feeder(results);
  EXPECT_EQ(feeder.count(), 6);
  EXPECT_EQ(feeder.selectedCount(), 3);
  const auto fed = [&](long start) {
    std::string texts;
    feeder.rewind(start);
    while (const ResultRecord* r = feeder.next()) texts += r->text();
    return texts;
  };
  EXPECT_EQ(fed(0), "abcdef");
  EXPECT_EQ(fed(4), "ef");
  feeder.setSelectionOnly(true);
  EXPECT_EQ(feeder.itemCount(), 3);
  EXPECT_EQ(fed(0), "bce");
  EXPECT_EQ(fed(2), "e");
  EXPECT_EQ(fed(3), "");
}

}  // namespace
}  // namespace qel
