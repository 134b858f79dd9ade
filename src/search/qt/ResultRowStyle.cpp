// Measuring and painting one row of results.
#include "search/qt/ResultRowStyle.h"

#include <QPainter>
#include <QPalette>
#include <algorithm>

#include "platform/qt/CoreText.h"
#include "search/ResultRecord.h"

namespace qel {
namespace {

constexpr int kTextLeft = 2;  // pixels between the row's left edge and its text

// How a row's text is painted: the entry in the results font followed by the rest in the
// annotation font, or the whole text in the results font when the entry alone is too wide.
struct RowText {
  QString first;
  QString rest;  // empty when the text is painted in one piece
  int firstWidth = 0;
};

RowText rowText(const ResultRecord& record, const QFontMetrics& results, int available) {
  RowText row;
  row.first = fromCp1252(record.entry());
  row.firstWidth = results.horizontalAdvance(row.first);
  if (kTextLeft + row.firstWidth > available) {
    row.first = fromCp1252(record.text());
    row.firstWidth = results.horizontalAdvance(row.first);
  } else {
    row.rest = fromCp1252(record.text().substr(record.entryLength));
  }
  return row;
}

// A colour halfway to the list's background: rare words stay readable but step back.
QColor lighter(const QColor& colour, const QPalette& palette) {
  const QColor base = palette.color(QPalette::Base);
  return QColor((colour.red() + base.red()) / 2, (colour.green() + base.green()) / 2,
                (colour.blue() + base.blue()) / 2);
}

}  // namespace

ResultRowStyle::ResultRowStyle(const QFont& font)
    : m_resultsMetrics(font), m_annotationMetrics(font) {}

void ResultRowStyle::setFonts(const QFont& results, const QFont& annotation,
                              const QColor& resultsColour, const QColor& annotationColour,
                              QPaintDevice* device) {
  m_resultsFont = results;
  m_annotationFont = annotation;
  m_resultsMetrics = QFontMetrics(results, device);
  m_annotationMetrics = QFontMetrics(annotation, device);
  m_resultsColour = resultsColour;
  m_annotationColour = annotationColour;
  const int ascent = std::max(m_resultsMetrics.ascent(), m_annotationMetrics.ascent());
  const int descent = std::max(m_resultsMetrics.descent(), m_annotationMetrics.descent());
  m_rowHeight =
      std::max({m_resultsMetrics.height(), m_annotationMetrics.height(), ascent + descent, 1});
  m_baseline = (m_rowHeight - ascent - descent) / 2 + ascent;
}

void ResultRowStyle::setRanks(RankOf rankOf, bool lighter) {
  m_rankOf = std::move(rankOf);
  m_rareLighter = lighter;
}

int ResultRowStyle::rankOf(const ResultRecord& record) const {
  return m_rankOf ? m_rankOf(record.entry()) : 0;
}

int ResultRowStyle::paintedWidth(const ResultRecord& record, int available) const {
  const RowText text = rowText(record, m_resultsMetrics, available);
  return kTextLeft + text.firstWidth + m_annotationMetrics.horizontalAdvance(text.rest);
}

void ResultRowStyle::paintRow(QPainter& painter, const ResultRecord& record, const QRect& rect,
                              bool selected, const QColor& highlightText,
                              const QPalette& colours) const {
  const RowText text = rowText(record, m_resultsMetrics, rect.width());
  const int baseline = rect.top() + m_baseline;
  const bool rare = m_rareLighter && rankOf(record) >= kRareFrom;
  painter.setFont(m_resultsFont);
  painter.setPen(selected ? highlightText
                 : rare   ? lighter(m_resultsColour, colours)
                          : m_resultsColour);
  painter.drawText(kTextLeft, baseline, text.first);
  if (!text.rest.isEmpty()) {
    painter.setFont(m_annotationFont);
    painter.setPen(selected ? highlightText
                   : rare   ? lighter(m_annotationColour, colours)
                            : m_annotationColour);
    painter.drawText(kTextLeft + text.firstWidth, baseline, text.rest);
  }
}

}  // namespace qel
