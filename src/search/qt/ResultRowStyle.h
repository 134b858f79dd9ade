// How a results list paints a row: the entry in the results font and the rest of the line in the
// annotation font, both on one baseline, each in its colour, with the words of a ranked dictionary
// that are rarer than kRareFrom drawn lighter.
#pragma once

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <functional>
#include <string_view>

class QPainter;
class QPaintDevice;
class QPalette;
class QRect;

namespace qel {

struct ResultRecord;

class ResultRowStyle {
 public:
  // How common an entry is, for a list whose dictionary is ranked: 1 (most common) to 100; a
  // null function for an unranked one.
  using RankOf = std::function<int(std::string_view entry)>;
  static constexpr int kRareFrom = 60;

  explicit ResultRowStyle(const QFont& font);

  // Fonts measured for `device`.
  void setFonts(const QFont& results, const QFont& annotation, const QColor& resultsColour,
                const QColor& annotationColour, QPaintDevice* device);
  void setRanks(RankOf rankOf, bool lighter);

  const QFont& resultsFont() const { return m_resultsFont; }
  const QFont& annotationFont() const { return m_annotationFont; }
  // Both fonts stand on one baseline: a row holds the taller ascent and the deeper descent.
  int rowHeight() const { return m_rowHeight; }
  // The record's rank, or 0 when the list is unranked.
  int rankOf(const ResultRecord& record) const;
  // The width the record's text takes when painted in a row `available` pixels wide.
  int paintedWidth(const ResultRecord& record, int available) const;
  // Paints the record in `rect`, in the highlighted text colour when `selected`.
  void paintRow(QPainter& painter, const ResultRecord& record, const QRect& rect, bool selected,
                const QColor& highlightText, const QPalette& colours) const;

 private:
  QFont m_resultsFont;
  QFont m_annotationFont;
  QFontMetrics m_resultsMetrics;
  QFontMetrics m_annotationMetrics;
  QColor m_resultsColour;
  QColor m_annotationColour;
  RankOf m_rankOf;
  bool m_rareLighter = false;
  int m_rowHeight = 1;
  int m_baseline = 0;  // from the top of a row
};

}  // namespace qel
