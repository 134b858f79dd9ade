// How printed results fill pages: margins in device units, the pages that the items' widths give,
// and where the columns of one page stand. Items fill each line of a page from left to right and
// the lines from top to bottom; a page has as many columns as its widest item leaves room for.
#pragma once

#include <vector>

#include "app/WindowSettings.h"

namespace qel {

// A margin in device units: margin x pixels per inch / (1000 or 2540), rounded half up; a
// negative result is 0. Units other than hundredths of a millimetre count as thousandths of an
// inch.
int marginInDeviceUnits(int margin, int units, int pixelsPerInch);

// One page: the items from the previous page's end (0 for the first page) up to `end`, which is
// what the page can hold (the last page may hold fewer items), and its widest item's width.
struct PrintPage {
  long end = 0;
  int width = 0;
  bool operator==(const PrintPage&) const = default;
};

// Pages from the items' widths, given one item at a time in print order.
class PrintPagination {
 public:
  // `linesPerPage` below 1 counts as 1; `gap` is the space between columns.
  PrintPagination(int printableWidth, int linesPerPage, int gap);

  void add(int width);
  const std::vector<PrintPage>& pages() const { return m_pages; }
  long itemCount() const { return m_items; }

 private:
  long previousEnd() const;  // of the page before the last one

  int m_printableWidth;
  long m_lines;
  int m_gap;
  std::vector<PrintPage> m_pages;
  long m_items = 0;
  int m_maxWidth = -1;  // the widest item of the open page; -1 when no page is open
  int m_columns = 0;    // columns of the open page; 0 when no page is open
};

// Where the items of page `index` (from 0) go: items [first, last) of the printout, in `columns`
// columns `pitch` apart, so that the first column starts at the left margin and the last one ends
// at the right margin. No columns (nothing to print) for a page that holds less than a column.
struct PrintPageColumns {
  long first = 0;
  long last = 0;
  int columns = 0;
  int pitch = 0;
};
PrintPageColumns printPageColumns(const std::vector<PrintPage>& pages, int index, long itemCount,
                                  int linesPerPage, int printableWidth);

}  // namespace qel
