// Pagination of printed results.
//
// A wider item can leave room for fewer columns than the open page has. When the items seen so far
// no longer fit in those columns, the page is closed at the last whole column before the wider
// item, and that item, with those after the closed columns, starts the next page. Closing at a
// later column would put the wider item, or items not yet measured, on a page laid out for the
// narrower ones, where they would run into the next column.
#include "search/PrintPagination.h"

#include <algorithm>
#include <cmath>

namespace qel {

int marginInDeviceUnits(int margin, int units, int pixelsPerInch) {
  const double divisor = units == kHundredthsOfAMillimetre ? 2540.0 : 1000.0;
  const double device = std::floor(static_cast<double>(margin) * pixelsPerInch / divisor + 0.5);
  return device > 0 ? static_cast<int>(std::min(device, 1e9)) : 0;
}

PrintPagination::PrintPagination(int printableWidth, int linesPerPage, int gap)
    : m_printableWidth(printableWidth), m_lines(std::max(linesPerPage, 1)), m_gap(gap) {}

long PrintPagination::previousEnd() const {
  return m_pages.size() >= 2 ? m_pages[m_pages.size() - 2].end : 0;
}

void PrintPagination::add(int width) {
  const long i = m_items++;
  if (width > m_maxWidth) {
    const int columnWidth = std::max(width + m_gap, 1);
    const int columns = columnWidth < m_printableWidth ? m_printableWidth / columnWidth : 1;
    if (m_columns == 0) m_pages.push_back({});
    long capacity = previousEnd() + columns * m_lines;
    if (capacity <= i) {
      const long start = previousEnd();
      const long closedAt = start + (i - start) / m_lines * m_lines;
      m_pages.back().end = closedAt;
      m_pages.push_back({});
      capacity = closedAt + columns * m_lines;
    }
    m_pages.back() = PrintPage{capacity, width};
    m_columns = columns;
    m_maxWidth = width;
  }
  if (m_pages.back().end <= i + 1) {  // the page is full
    m_maxWidth = -1;
    m_columns = 0;
  }
}

PrintPageColumns printPageColumns(const std::vector<PrintPage>& pages, int index, long itemCount,
                                  int linesPerPage, int printableWidth) {
  PrintPageColumns c;
  if (index < 0 || index >= static_cast<int>(pages.size())) return c;
  const PrintPage& page = pages[index];
  c.first = index > 0 ? pages[index - 1].end : 0;
  c.last = std::min(page.end, itemCount);
  const long lines = std::max(linesPerPage, 1);
  c.columns = static_cast<int>((page.end - c.first) / lines);
  if (c.columns < 1) {
    c.columns = 0;
    return c;
  }
  int spare = printableWidth - c.columns * page.width;
  if (c.columns > 1) spare /= c.columns - 1;
  c.pitch = page.width + spare;
  return c;
}

}  // namespace qel
