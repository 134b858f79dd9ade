// Pagination and drawing of printed results on a QPrinter, in its device units.
#include "search/qt/QELPrintout.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QScreen>
#include <cmath>

#include "platform/qt/CoreText.h"
#include "search/ResultList.h"

namespace qel {
namespace {

constexpr double kDefaultScreenDpi = 96.0;

int roundAwayFromZero(double v) { return static_cast<int>(std::lround(v)); }

double screenDpiY() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen ? screen->logicalDotsPerInchY() : kDefaultScreenDpi;
}

// The printable area's offset from the paper's corner: the printer's least margins.
QPoint physicalOffset(const QPrinter& printer) {
  QPageLayout layout = printer.pageLayout();
  layout.setMode(QPageLayout::StandardMode);
  layout.setMargins(layout.minimumMargins());
  const QMargins m = layout.marginsPixels(printer.resolution());
  return QPoint(m.left(), m.top());
}

}  // namespace

QELPrintout::QELPrintout(const ResultList& results, const QString& title)
    : m_title(title), m_feeder(results) {}

void QELPrintout::setFont(const QFont& font, const QColor& colour) {
  m_font = font;
  m_colour = colour;
}

// The font's height grows by the printer's resolution over the screen's, so that the printout
// shows the font at the size the screen shows it.
QFont QELPrintout::scaledFont(const QPrinter& printer) const {
  QFont font = m_font;
  const double scale = printer.resolution() / screenDpiY();
  if (font.pixelSize() > 0) {
    font.setPixelSize(std::max(1, roundAwayFromZero(font.pixelSize() * scale)));
  } else if (font.pointSizeF() > 0) {
    font.setPixelSize(
        std::max(1, roundAwayFromZero(font.pointSizeF() / 72.0 * printer.resolution())));
  }
  return font;
}

int QELPrintout::paginate(QPrinter& printer) {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  m_printerFont = scaledFont(printer);
  const QFontMetrics metrics(m_printerFont, &printer);

  const int dpiX = printer.logicalDpiX();
  const int dpiY = printer.logicalDpiY();
  const PrintingMargins& m = m_margins;
  const int left = marginInDeviceUnits(m.left, m.units, dpiX);
  const int right = marginInDeviceUnits(m.right, m.units, dpiX);
  const int top = marginInDeviceUnits(m.top, m.units, dpiY);
  const int bottom = marginInDeviceUnits(m.bottom, m.units, dpiY);
  const QRect paper = printer.paperRect(QPrinter::DevicePixel).toRect();
  m_physicalOffset = physicalOffset(printer);
  m_printableWidth = std::max(paper.width() - left - right, 0);
  const int printableHeight = std::max(paper.height() - top - bottom, 0);
  m_left = std::max(left - m_physicalOffset.x(), 0);
  m_top = std::max(top - m_physicalOffset.y(), 0);

  m_lineHeight = metrics.height() + std::max(metrics.leading(), 0);
  m_ascent = metrics.ascent();
  m_gap = 4 * metrics.averageCharWidth();
  if (m_lineHeight <= 0) {
    m_lineHeight = 0;
    m_linesPerPage = 1;
    m_gap = 0;
  } else {
    // At least one line, even on a page too small for it, so that every page holds something.
    m_linesPerPage = std::max(printableHeight / m_lineHeight, 1);
  }

  m_feeder.setSelectionOnly(m_selectionFlag && m_feeder.selectedCount() > 0);
  m_itemCount = m_feeder.itemCount();
  PrintPagination pagination(m_printableWidth, m_linesPerPage, m_gap);
  m_feeder.rewind(0);
  for (long i = 0; i < m_itemCount; ++i) {
    const ResultRecord* record = m_feeder.next();
    pagination.add(record ? metrics.horizontalAdvance(fromCp1252(record->text())) : 0);
  }
  m_pages = pagination.pages();
  QApplication::restoreOverrideCursor();
  return static_cast<int>(m_pages.size());
}

bool QELPrintout::print(QPrinter& printer, int from, int to,
                        const std::function<bool(int, int)>& pagePrinted, WhenCancelled cancelled) {
  printer.setDocName(m_title);
  const int count = paginate(printer);
  if (from <= 0 && to <= 0) {
    from = 1;
    to = count;
  }
  from = std::max(from, 1);
  to = std::min(to <= 0 ? count : to, count);
  QPainter painter;
  if (!painter.begin(&printer)) return false;
  for (int page = from; page <= to; ++page) {
    if (page > from && !printer.newPage()) return false;
    printPage(painter, page);
    if (pagePrinted && !pagePrinted(page, to)) {
      if (cancelled == WhenCancelled::kAbortJob) {
        printer.abort();
      } else {
        painter.end();
      }
      return false;
    }
  }
  return painter.end();
}

void QELPrintout::printPage(QPainter& painter, int page) {
  const PrintPageColumns c =
      printPageColumns(m_pages, page - 1, m_itemCount, m_linesPerPage, m_printableWidth);
  if (c.columns < 1) return;
  painter.save();
  // The painter starts at the corner of the printer's page rectangle: from there to the paper's
  // corner, and on to the printable area's, where the offsets count from.
  if (const auto* printer = dynamic_cast<const QPrinter*>(painter.device())) {
    painter.translate(-printer->pageRect(QPrinter::DevicePixel).topLeft());
  }
  painter.translate(m_physicalOffset);
  painter.setFont(m_printerFont);
  painter.setPen(m_colour);
  painter.setBackgroundMode(Qt::TransparentMode);
  m_feeder.rewind(c.first);
  for (long i = c.first; i < c.last; ++i) {
    const ResultRecord* record = m_feeder.next();
    if (!record) break;
    const long k = i - c.first;
    const int x = m_left + static_cast<int>(k % c.columns) * c.pitch;
    const int y = m_top + static_cast<int>(k / c.columns) * m_lineHeight;
    painter.drawText(x, y + m_ascent, fromCp1252(record->text()));
  }
  painter.restore();
}

}  // namespace qel
