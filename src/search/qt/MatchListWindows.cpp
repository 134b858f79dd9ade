// Painting, scrolling and input of a results list. The selection rules live in the core
// (ResultSelection); this file turns Qt's keys and clicks into its calls and paints what it holds.
#include "search/qt/MatchListWindows.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QToolTip>
#include <algorithm>
#include <optional>
#include <utility>

#include "platform/qt/CoreText.h"

namespace qel {
namespace {

constexpr int kDragRepeatMs = 50;  // a drag outside the list scrolls at this pace
#ifdef Q_OS_WIN
constexpr std::string_view kLineEnd = "\r\n";
#else
constexpr std::string_view kLineEnd = "\n";
#endif

bool isCopyKey(const QKeyEvent* event) {
  const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
  return event->matches(QKeySequence::Copy) ||
         (event->key() == Qt::Key_Insert && modifiers == Qt::ControlModifier);
}

std::optional<ResultSelection::Key> selectionKey(int key) {
  using Key = ResultSelection::Key;
  static constexpr std::pair<int, Key> kKeys[] = {
      {Qt::Key_Up, Key::Up},         {Qt::Key_Down, Key::Down},
      {Qt::Key_Left, Key::Left},     {Qt::Key_Right, Key::Right},
      {Qt::Key_Home, Key::Home},     {Qt::Key_End, Key::End},
      {Qt::Key_PageUp, Key::PageUp}, {Qt::Key_PageDown, Key::PageDown},
      {Qt::Key_Space, Key::Space}};
  for (const auto& [qtKey, selectionKey] : kKeys) {
    if (qtKey == key) return selectionKey;
  }
  return std::nullopt;
}

// A row index for the core, which knows nothing of rows outside the list.
int existingRow(long row, long count) {
  return row >= 0 && row < count ? static_cast<int>(row) : -1;
}

}  // namespace

MatchListWindows::MatchListWindows(ResultList& list, QWidget* parent)
    : QAbstractScrollArea(parent), m_list(&list), m_style(font()) {
  setFocusPolicy(Qt::StrongFocus);
  // The menu bar or a menu took the keyboard without the list losing its standing (see
  // focusOutEvent); the focus going on from there to anything else ends it.
  connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
    if (!m_focused || now == this || qobject_cast<QMenuBar*>(now) || qobject_cast<QMenu*>(now))
      return;
    m_focused = false;
    viewport()->update();
    emit focusLost();
  });
  // Rows wider than the list are cut and shown whole in a tooltip instead.
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  viewport()->setBackgroundRole(QPalette::Base);
  m_dragTimer.setInterval(kDragRepeatMs);
  connect(&m_dragTimer, &QTimer::timeout, this, &MatchListWindows::followPointer);

  // The settings' defaults, until the view hands over the user's fonts.
  QFont results(QStringLiteral("Courier New"));
  results.setStyleHint(QFont::TypeWriter);
  results.setPixelSize(16);
  results.setWeight(QFont::Normal);
  QFont annotation = results;
  annotation.setItalic(true);
  setFonts(results, annotation, Qt::black, Qt::black);
}

void MatchListWindows::setList(ResultList& list) {
  if (m_leftDown) endDrag();
  m_list = &list;
  updateScrollRange();
  viewport()->update();
}

void MatchListWindows::setFonts(const QFont& results, const QFont& annotation,
                                const QColor& resultsColour, const QColor& annotationColour) {
  m_style.setFonts(results, annotation, resultsColour, annotationColour, viewport());
  updateScrollRange();
  viewport()->update();
}

void MatchListWindows::updateDisplay() {
  const ResultList::Changes changes = m_list->takeChanges();
  updateScrollRange();
  if (changes.cleared) {
    verticalScrollBar()->setValue(0);
    viewport()->update();
    return;
  }
  // An insertion moves every row after it; the rows above it are as they were painted.
  const long top = firstVisibleRow();
  const long fromTop = changes.firstRow - top;
  if (fromTop >= (viewport()->height() + m_style.rowHeight() - 1) / m_style.rowHeight())
    return;  // below the view
  const int y = fromTop <= 0 ? 0 : static_cast<int>(fromTop * m_style.rowHeight());
  viewport()->update(0, y, viewport()->width(), viewport()->height() - y);
}

void MatchListWindows::refresh() { viewport()->update(); }

long MatchListWindows::firstVisibleRow() const { return verticalScrollBar()->value(); }

int MatchListWindows::wholeVisibleRows() const {
  return std::max(1, viewport()->height() / m_style.rowHeight());
}

long MatchListWindows::rowAt(QPoint viewportPos) const {
  const int y = viewportPos.y();
  const long rows =
      y >= 0 ? y / m_style.rowHeight() : -((-y + m_style.rowHeight() - 1) / m_style.rowHeight());
  return firstVisibleRow() + rows;
}

QRect MatchListWindows::rowRect(long row) const {
  // Far rows are placed far outside the viewport without overflowing a coordinate.
  const long offset = std::clamp<long>(row - firstVisibleRow(), -100000, 100000);
  return QRect(0, static_cast<int>(offset) * m_style.rowHeight(), viewport()->width(),
               m_style.rowHeight());
}

void MatchListWindows::scrollToRow(long row) {
  updateScrollRange();
  const long top = firstVisibleRow();
  const int page = wholeVisibleRows();
  if (row < top) {
    verticalScrollBar()->setValue(static_cast<int>(std::max<long>(row, 0)));
  } else if (row >= top + page) {
    verticalScrollBar()->setValue(static_cast<int>(row - page + 1));
  }
}

void MatchListWindows::moveCaret(ResultSelection::Key key) {
  selection().shiftReleased();
  selection().key(key, false, false, static_cast<int>(m_list->count()), wholeVisibleRows());
  scrollToRow(selection().caret());
  afterSelectionChange();
}

void MatchListWindows::copy() {
  if (m_list->selection().selectedCount() == 0) return;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  QGuiApplication::clipboard()->setText(fromCp1252(m_list->selectedText(kLineEnd)));
  QApplication::restoreOverrideCursor();
}

void MatchListWindows::selectAll() {
  selection().selectAll(static_cast<int>(m_list->count()));
  afterSelectionChange();
}

void MatchListWindows::updateScrollRange() {
  QScrollBar* bar = verticalScrollBar();
  const int page = wholeVisibleRows();
  bar->setRange(0, static_cast<int>(std::max<long>(0, m_list->count() - page)));
  bar->setPageStep(page);
  bar->setSingleStep(1);
}

void MatchListWindows::afterSelectionChange() {
  viewport()->update();
  emit selectionChanged();
}

bool MatchListWindows::event(QEvent* event) {
  // The list's own Copy and Select All win over a window's shortcuts for the same keys, as in a
  // text box: the focused list is what the user means.
  if (event->type() == QEvent::ShortcutOverride) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (isCopyKey(key) || key->matches(QKeySequence::SelectAll)) {
      event->accept();
      return true;
    }
  }
  return QAbstractScrollArea::event(event);
}

bool MatchListWindows::viewportEvent(QEvent* event) {
  if (event->type() == QEvent::ToolTip) {
    auto* help = static_cast<QHelpEvent*>(event);
    showToolTip(help->pos(), help->globalPos());
    return true;
  }
  return QAbstractScrollArea::viewportEvent(event);
}

void MatchListWindows::paintEvent(QPaintEvent* event) {
  QPainter painter(viewport());
  const QRect area = event->rect();
  const int width = viewport()->width();
  const long count = m_list->count();
  const long top = firstVisibleRow();
  const long first = top + std::max(area.top(), 0) / m_style.rowHeight();
  const long last = std::min(count - 1, top + area.bottom() / m_style.rowHeight());
  const ResultSelection& selected = selection();
  // An unfocused list shows its selection in the inactive colours, as other lists do.
  const QPalette::ColorGroup group = m_focused ? QPalette::Active : QPalette::Inactive;
  const QPalette& colours = palette();
  const QColor highlight = colours.color(group, QPalette::Highlight);
  const QColor highlightText = colours.color(group, QPalette::HighlightedText);

  for (long row = first; row <= last; ++row) {
    const ResultRecord* record = m_list->record(row);
    if (!record) break;
    const QRect rect(0, static_cast<int>(row - top) * m_style.rowHeight(), width,
                     m_style.rowHeight());
    const bool shownSelected = selected.isShownSelected(static_cast<int>(row));
    painter.setClipRect(rect);
    if (shownSelected) painter.fillRect(rect, highlight);
    m_style.paintRow(painter, *record, rect, shownSelected, highlightText, colours);
  }
  painter.setClipping(false);

  if (m_focused) {
    // The caret frame; an empty list shows where its first row would be.
    const int caret = selected.caret();
    const long frameRow = count == 0 ? 0 : caret >= 0 && caret < count ? caret : -1;
    const QRect rect = rowRect(frameRow);
    if (frameRow >= 0 && rect.intersects(area)) {
      const bool onHighlight = count > 0 && selected.isShownSelected(static_cast<int>(frameRow));
      painter.setPen(
          QPen(onHighlight ? highlightText : colours.color(group, QPalette::Text), 1, Qt::DotLine));
      painter.setBrush(Qt::NoBrush);
      painter.drawRect(rect.adjusted(0, 0, -1, -1));
    }
  }
}

void MatchListWindows::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  updateScrollRange();
}

void MatchListWindows::scrollContentsBy(int, int) { viewport()->update(); }

void MatchListWindows::keyPressEvent(QKeyEvent* event) {
  const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
  if (isCopyKey(event)) {
    copy();
    return;
  }
  if (event->matches(QKeySequence::SelectAll)) {
    selectAll();
    return;
  }
  if (event->key() == Qt::Key_Menu ||
      (event->key() == Qt::Key_F10 && modifiers == Qt::ShiftModifier)) {
    const int caret = selection().caret();
    emit menuRequested(mapToGlobal(QPoint(0, 0)), caret >= 0 && caret < m_list->count());
    return;
  }
  const std::optional<ResultSelection::Key> key = selectionKey(event->key());
  // Alt and Meta combinations belong to the window (Alt+Down steps through results elsewhere).
  if (!key || (modifiers & (Qt::AltModifier | Qt::MetaModifier))) {
    event->ignore();
    return;
  }
  if (m_leftDown) return;  // the mouse is making its own selection
  const bool shift = modifiers & Qt::ShiftModifier;
  const bool ctrl = modifiers & Qt::ControlModifier;
  // A Shift release that went to another window must not leave the old anchor behind.
  if (!shift) selection().shiftReleased();
  selection().key(*key, shift, ctrl, static_cast<int>(m_list->count()), wholeVisibleRows());
  if (selection().caret() >= 0) scrollToRow(selection().caret());
  afterSelectionChange();
}

void MatchListWindows::keyReleaseEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Shift) {
    selection().shiftReleased();
    return;
  }
  QAbstractScrollArea::keyReleaseEvent(event);
}

void MatchListWindows::pressLeft(QPoint pos, Qt::KeyboardModifiers modifiers) {
  setFocus(Qt::MouseFocusReason);
  m_leftDown = true;
  m_pointer = pos;
  m_dragTimer.start();
  const bool shift = modifiers & Qt::ShiftModifier;
  if (!shift) selection().shiftReleased();
  const long count = m_list->count();
  selection().press(existingRow(rowAt(pos), count), shift, modifiers & Qt::ControlModifier,
                    static_cast<int>(count));
  afterSelectionChange();
}

void MatchListWindows::followPointer() {
  const long count = m_list->count();
  if (!m_leftDown || selection().dragOrigin() < 0 || count == 0) return;
  const long row = std::clamp<long>(rowAt(m_pointer), 0, count - 1);
  const long top = firstVisibleRow();
  const bool whole = row >= top && row < top + wholeVisibleRows();
  if (row == selection().caret() && whole) return;  // nothing to move or scroll
  selection().dragTo(static_cast<int>(row), static_cast<int>(count));
  scrollToRow(row);
  afterSelectionChange();
}

void MatchListWindows::endDrag() {
  m_leftDown = false;
  m_dragTimer.stop();
  selection().release();
  afterSelectionChange();
}

void MatchListWindows::mousePressEvent(QMouseEvent* event) {
  const QPoint pos = event->position().toPoint();
  const Qt::KeyboardModifiers modifiers = event->modifiers();
  if (event->button() == Qt::LeftButton) {
    pressLeft(pos, modifiers);
  } else if (event->button() == Qt::RightButton && !m_leftDown) {
    setFocus(Qt::MouseFocusReason);
    m_rightDown = true;
    const long count = m_list->count();
    selection().rightPress(existingRow(rowAt(pos), count), modifiers & Qt::ShiftModifier,
                           modifiers & Qt::ControlModifier, static_cast<int>(count));
    afterSelectionChange();
  }
}

void MatchListWindows::mouseMoveEvent(QMouseEvent* event) {
  if (!m_leftDown) return;
  m_pointer = event->position().toPoint();
  followPointer();
}

void MatchListWindows::mouseReleaseEvent(QMouseEvent* event) {
  const QPoint pos = event->position().toPoint();
  if (event->button() == Qt::LeftButton && m_leftDown) {
    m_pointer = pos;
    followPointer();
    endDrag();
  } else if (event->button() == Qt::RightButton && m_rightDown) {
    m_rightDown = false;
    emit menuRequested(event->globalPosition().toPoint(),
                       existingRow(rowAt(pos), m_list->count()) >= 0);
  }
}

void MatchListWindows::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    mousePressEvent(event);
    return;
  }
  // The second press selects as a click does; the drag ends here, since the view may open a
  // window that takes the button's release.
  const QPoint pos = event->position().toPoint();
  pressLeft(pos, event->modifiers());
  endDrag();
  const long row = existingRow(rowAt(pos), m_list->count());
  if (row >= 0) emit resultDoubleClicked(row, event->modifiers());
}

void MatchListWindows::contextMenuEvent(QContextMenuEvent* event) {
  // The right button's release and the menu keys already asked for the menu; a second request
  // from the platform would open it twice.
  event->accept();
}

void MatchListWindows::focusInEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusInEvent(event);
  const bool wasFocused = m_focused;
  m_focused = true;
  const long count = m_list->count();
  if (selection().caret() < 0 && count > 0) {
    // The caret starts on the first row; Ctrl moves it without touching the selection.
    selection().key(ResultSelection::Key::Home, false, true, static_cast<int>(count),
                    wholeVisibleRows());
  }
  viewport()->update();
  if (!wasFocused) emit focusGained();
}

void MatchListWindows::focusOutEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusOutEvent(event);
  // A shortcut menu opened from the list leaves the list the focused one.
  // So does the menu bar taking the keyboard (Alt+E).
  if (event->reason() == Qt::PopupFocusReason || event->reason() == Qt::MenuBarFocusReason) return;
  m_focused = false;
  selection().shiftReleased();
  if (m_leftDown) endDrag();
  m_rightDown = false;
  viewport()->update();
  emit focusLost();
}

void MatchListWindows::setRanks(RankOf rankOf, bool lighter) {
  m_style.setRanks(std::move(rankOf), lighter);
  viewport()->update();
}

void MatchListWindows::showToolTip(QPoint pos, QPoint globalPos) {
  const long row = existingRow(rowAt(pos), m_list->count());
  const ResultRecord* record = row >= 0 ? m_list->record(row) : nullptr;
  if (!record) {
    QToolTip::hideText();
    return;
  }
  const QRect rect = rowRect(row);
  const bool cut = m_style.paintedWidth(*record, viewport()->width()) > viewport()->width() ||
                   rect.bottom() >= viewport()->height();
  // A ranked word's tooltip gives its rank, whether the row is cut or not.
  const int rank = m_style.rankOf(*record);
  if (!cut && rank == 0) {
    QToolTip::hideText();
    return;
  }
  QString tip = fromCp1252(record->text());
  if (rank > 0) {
    tip += "\n" + (rank >= 100
                       ? tr("Not ranked: rarer than every ranked word")
                       : tr("Commonness rank %1 (1 is the most common, 95 the rarest)").arg(rank));
  }
  QToolTip::showText(globalPos, tip, viewport(), rect);
}

}  // namespace qel
