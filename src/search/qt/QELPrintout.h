// The printed form of a pane's results: each result's text in the printing font, in as many
// columns as the page's widest item leaves room for between the margins, lines filled from left
// to right. The same printout draws the pages of a print and of the print preview.
#pragma once

#include <QColor>
#include <QFont>
#include <QPoint>
#include <QString>
#include <functional>
#include <vector>

#include "app/WindowSettings.h"
#include "search/PrintPagination.h"
#include "search/QELPrintoutFeeder.h"

class QPainter;
class QPrinter;

namespace qel {

class ResultList;

class QELPrintout {
 public:
  using PageInfo = PrintPage;

  // `results` outlives the printout; `title` names the print job (the dictionary's name).
  QELPrintout(const ResultList& results, const QString& title);

  const QString& title() const { return m_title; }
  // The printing font as it shows on screen, and its colour; scaled to the printer when printed.
  void setFont(const QFont& font, const QColor& colour);
  void setMargins(const PrintingMargins& margins) { m_margins = margins; }
  const PrintingMargins& margins() const { return m_margins; }
  // Set: with results selected, only those are printed.
  void setSelectionFlag(bool selectionOnly) { m_selectionFlag = selectionOnly; }
  bool selectionFlag() const { return m_selectionFlag; }
  const QELPrintoutFeeder& feeder() const { return m_feeder; }

  // Lays the items out for `printer` (with the wait cursor) and answers the number of pages.
  int paginate(QPrinter& printer);
  // Prints pages `from` to `to` (from 1, clamped to the pages there are; 0 and 0 for all) on
  // `printer`, paginating first. `pagePrinted` hears of each page done and may cancel the rest
  // by answering false: a print job is then aborted, while a preview (kKeepPagesDone) keeps the
  // pages drawn so far. False when the printer could not be used or the print was cancelled.
  enum class WhenCancelled { kAbortJob, kKeepPagesDone };
  bool print(QPrinter& printer, int from = 0, int to = 0,
             const std::function<bool(int page, int last)>& pagePrinted = {},
             WhenCancelled cancelled = WhenCancelled::kAbortJob);
  // Draws page `page` (from 1) of the last pagination with a painter active on its printer.
  void printPage(QPainter& painter, int page);

  // The last pagination, in the printer's device units.
  const std::vector<PageInfo>& pages() const { return m_pages; }
  long itemCount() const { return m_itemCount; }
  int linesPerPage() const { return m_linesPerPage; }
  int lineHeight() const { return m_lineHeight; }
  int columnGap() const { return m_gap; }
  int leftOffset() const { return m_left; }  // from the printable area's corner
  int topOffset() const { return m_top; }
  int printableWidth() const { return m_printableWidth; }
  const QFont& printerFont() const { return m_printerFont; }

 private:
  QFont scaledFont(const QPrinter& printer) const;

  QString m_title;
  QELPrintoutFeeder m_feeder;
  QFont m_font;
  QColor m_colour = Qt::black;
  PrintingMargins m_margins;
  bool m_selectionFlag = false;

  QFont m_printerFont;
  QPoint m_physicalOffset;  // of the printable area from the paper's corner
  int m_left = 0;
  int m_top = 0;
  int m_printableWidth = 0;
  int m_lineHeight = 0;
  int m_ascent = 0;
  int m_linesPerPage = 1;
  int m_gap = 0;
  long m_itemCount = 0;
  std::vector<PageInfo> m_pages;
};

}  // namespace qel
