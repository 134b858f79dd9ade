// The main view's progress bar and length ruler.
#include "search/qt/QELProgressBar.h"

#include <qdrawutil.h>

#include <QEvent>
#include <QFontInfo>
#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <numeric>

#include "pattern/PatternLimits.h"

namespace qel {
namespace {

constexpr int kFrame = 2;       // width of the sunken edge
constexpr int kLabelGap = 3;    // pixels a length's number keeps clear of its neighbours
constexpr int kMinimumBar = 6;  // rows the bar keeps in the preferred height

// `part` of `total` as pixels of `width`, to the nearest pixel. Entry counts run to millions, so
// the product is taken in 64 bits.
int scaled(int width, long part, long total) {
  if (total <= 0 || width <= 0) return 0;
  part = std::clamp(part, 0L, total);
  const long long numerator = 2LL * width * part + total;
  return static_cast<int>(numerator / (2LL * total));
}

}  // namespace

QELProgressBar::QELProgressBar(QWidget* parent) : QWidget(parent) {
  const QString hint = tr("This progress bar also shows the range of lengths that will be shown");
  setToolTip(hint);
  setStatusTip(hint);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  // The sunken panel covers every pixel, so nothing needs erasing first.
  setAttribute(Qt::WA_OpaquePaintEvent);
  layOut();
}

std::vector<QELProgressBar::LengthEntries> QELProgressBar::lengthsInRange(
    const QCDictionaryList* list, int index, int shortest, int longest, int step) {
  std::vector<LengthEntries> lengths;
  if (list == nullptr || index < 0 || index >= list->count()) return lengths;
  // A pane whose range was never worked out holds the largest int in both ends; Full Text Search
  // holds an empty range. Neither has a length to show.
  const int from = std::max(shortest, pattern::kShortestWord);
  const int to = std::min(longest, pattern::kLongestWord);
  for (int length = from; length <= to; ++length) {
    const long entries = list->entryCount(index, length);
    if (entries > 0) lengths.push_back({length, entries});
  }
  if (step < 0) std::reverse(lengths.begin(), lengths.end());
  return lengths;
}

// Entries of the lengths visited before `currentLength`. A current length of 0 means that no
// length has been started, whichever way the lengths are visited.
long QELProgressBar::entriesBefore(const std::vector<LengthEntries>& lengths, int step,
                                   int currentLength) {
  if (currentLength == 0) return 0;
  long done = 0;
  for (const LengthEntries& l : lengths) {
    if (step < 0 ? l.length > currentLength : l.length < currentLength) done += l.entries;
  }
  return done;
}

void QELProgressBar::setDictionary(const QCDictionaryList* list, int index, int shortest,
                                   int longest, int step, int currentLength, long position) {
  std::vector<LengthEntries> lengths = lengthsInRange(list, index, shortest, longest, step);
  const long total =
      std::accumulate(lengths.begin(), lengths.end(), 0L,
                      [](long sum, const LengthEntries& l) { return sum + l.entries; });
  const long done = entriesBefore(lengths, step, currentLength);
  apply(false, std::move(lengths), total, index, done, position);
}

void QELProgressBar::setFullText(long position, long total) {
  apply(true, {}, total, -1, 0, position);
}

void QELProgressBar::clear() { apply(false, {}, 0, -1, 0, 0); }

void QELProgressBar::showSession(const QCDictionaryList* list, const SearchSession& session,
                                 int idlePane, bool fullText) {
  const SearchSession::Progress progress = session.progress();
  if (progress.pane < 0) {
    showIdle(list, session, idlePane, fullText);
    return;
  }
  if (fullText) {
    apply(true, {}, progress.total, progress.pane, 0, progress.examined);
    return;
  }
  // The session counts what it has examined in the whole pane; the bar keeps the lengths passed
  // apart from the current one, as its ruler is drawn by length.
  const SearchSession::Pane& pane = session.pane(progress.pane);
  std::vector<LengthEntries> lengths =
      lengthsInRange(list, progress.pane, pane.shortest, pane.longest, pane.direction);
  const long total =
      std::accumulate(lengths.begin(), lengths.end(), 0L,
                      [](long sum, const LengthEntries& l) { return sum + l.entries; });
  const bool searchable = progress.currentLength >= pattern::kShortestWord &&
                          progress.currentLength <= pattern::kLongestWord;
  const long done = entriesBefore(lengths, pane.direction, searchable ? progress.currentLength : 0);
  apply(false, std::move(lengths), total, progress.pane, done, progress.examined - done);
}

void QELProgressBar::showIdle(const QCDictionaryList* list, const SearchSession& session, int pane,
                              bool fullText) {
  if (fullText || pane < 0 || pane >= session.paneCount()) {
    apply(fullText, {}, 0, -1, 0, 0);
    return;
  }
  const SearchSession::Pane& p = session.pane(pane);
  setDictionary(list, pane, p.shortest, p.longest, p.direction);
}

void QELProgressBar::apply(bool fullText, std::vector<LengthEntries> lengths, long total, int index,
                           long done, long position) {
  const bool rulerChanged = fullText != m_fullText || lengths != m_lengths || total != m_total;
  m_fullText = fullText;
  m_index = index;
  m_done = done;
  if (!rulerChanged) {
    setPosition(position);
    return;
  }
  m_lengths = std::move(lengths);
  m_total = total;
  m_position = position;
  layOut();
  update();
}

void QELProgressBar::setPosition(long position) {
  m_position = position;
  const int filled = computeFilledWidth();
  if (filled == m_filledWidth) return;
  // Only the columns between the old and the new end of the fill change.
  const int from = std::min(filled, m_filledWidth);
  const int to = std::max(filled, m_filledWidth);
  m_filledWidth = filled;
  update(QRect(m_bar.left() + from, m_bar.top(), to - from, m_bar.height()));
}

int QELProgressBar::computeFilledWidth() const {
  return scaled(m_bar.width(), m_done + m_position, m_total);
}

QRect QELProgressBar::interior() const { return rect().adjusted(kFrame, kFrame, -kFrame, -kFrame); }

// The height of the digits above the baseline: the font's ascent less its internal leading,
// which is the em height less the descent.
int QELProgressBar::digitHeight() const {
  const QFontMetrics metrics(font());
  const int em = QFontInfo(font()).pixelSize();
  return std::clamp(em - metrics.descent(), 1, std::max(1, metrics.ascent()));
}

void QELProgressBar::layOut() {
  const QRect inside = interior();
  m_segments.clear();
  m_labels.clear();
  if (m_lengths.empty() || m_total <= 0) {
    m_bar = inside;
    m_tickTop = m_tickBottom = m_baseline = 0;
    m_filledWidth = computeFilledWidth();
    return;
  }

  const QFontMetrics metrics(font());
  const int h = digitHeight();
  // Text drawn at a baseline ends on the row above it: the digits end one row above the bottom.
  const int bottom = inside.bottom();
  m_baseline = bottom;
  m_tickBottom = bottom - (h + 2);
  m_tickTop = m_tickBottom - std::max(1, h / 3) + 1;
  const int barTop = inside.top() + 1;
  const int barBottom = std::max(barTop - 1, m_tickTop - 2);

  // The first number stands at the left edge with the bar starting under its middle; the bar ends
  // as far before the right edge, by the last number, so that the numbers near either end fit.
  const QString firstText = QString::number(m_lengths.front().length);
  const int firstWidth = metrics.horizontalAdvance(firstText);
  const int lastWidth = metrics.horizontalAdvance(QString::number(m_lengths.back().length));
  const int barLeft = inside.left() + firstWidth / 2;
  const int barRight = inside.right() + 1 - lastWidth / 2;
  m_bar = QRect(barLeft, barTop, std::max(0, barRight - barLeft), barBottom - barTop + 1);

  long before = 0;
  for (const LengthEntries& l : m_lengths) {
    Segment segment;
    segment.length = l.length;
    segment.entries = l.entries;
    segment.left = barLeft + scaled(m_bar.width(), before, m_total);
    before += l.entries;
    segment.right = barLeft + scaled(m_bar.width(), before, m_total);
    m_segments.push_back(segment);
  }

  const int labelTop = m_baseline - h;
  const Label first{m_lengths.front().length, firstText,
                    QRect(inside.left(), labelTop, firstWidth, h)};
  // From the right: a number is drawn only where it keeps clear of the one drawn to its right and
  // of the first, so the numbers of crowded short segments give way rather than overlap.
  const int rightEdge = inside.right() + 1;
  int nextLeft = rightEdge + kLabelGap;
  std::vector<Label> fromRight;
  for (int k = static_cast<int>(m_segments.size()) - 1; k >= 1; --k) {
    const QString text = QString::number(m_segments[k].length);
    const int width = metrics.horizontalAdvance(text);
    const int x = std::min(m_segments[k].left - width / 2, rightEdge - width);
    if (x + width + kLabelGap > nextLeft) continue;
    if (x < first.rect.left() + first.rect.width() + kLabelGap) continue;
    fromRight.push_back({m_segments[k].length, text, QRect(x, labelTop, width, h)});
    nextLeft = x;
  }
  m_labels.push_back(first);
  m_labels.insert(m_labels.end(), fromRight.rbegin(), fromRight.rend());
  m_filledWidth = computeFilledWidth();
}

void QELProgressBar::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QPalette& colours = palette();
  const QBrush face = colours.button();
  qDrawWinPanel(&painter, rect(), colours, true, &face);
  if (m_filledWidth > 0) {
    painter.fillRect(QRect(m_bar.left(), m_bar.top(), m_filledWidth, m_bar.height()),
                     colours.highlight());
  }
  if (m_segments.empty()) return;

  const QColor ink = colours.color(QPalette::ButtonText);
  const int tickHeight = m_tickBottom - m_tickTop + 1;
  painter.fillRect(QRect(m_segments.front().left, m_tickTop, 1, tickHeight), ink);
  for (auto it = m_segments.rbegin(); it != m_segments.rend(); ++it) {
    painter.fillRect(QRect(it->right, m_tickTop, 1, tickHeight), ink);
  }
  painter.setPen(ink);
  painter.setFont(font());
  for (const Label& label : m_labels)
    painter.drawText(QPoint(label.rect.left(), m_baseline), label.text);
}

void QELProgressBar::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  layOut();
}

void QELProgressBar::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
    layOut();
    update();
  }
}

QSize QELProgressBar::sizeHint() const {
  const int h = digitHeight();
  const int ruler = 1 + std::max(1, h / 3) + h + 2;  // gap, ticks, numbers
  const int height = 2 * kFrame + 1 + std::max(kMinimumBar, h) + ruler;
  return QSize(200, height);
}

QSize QELProgressBar::minimumSizeHint() const { return QSize(40, sizeHint().height()); }

}  // namespace qel
