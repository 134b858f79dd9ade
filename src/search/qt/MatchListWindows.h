// The results list of a pane: an owner-drawn list over a core ResultList that paints only the rows
// in view, so that it can hold millions, and hands keys and clicks to the core's selection rules.
#pragma once

#include <QAbstractScrollArea>
#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QPoint>
#include <QString>
#include <QTimer>
#include <functional>
#include <string_view>

#include "search/ResultList.h"
#include "search/qt/ResultRowStyle.h"

namespace qel {

// The view owns the ResultList (the search adds to it directly) and tells this window when to
// catch up: updateDisplay() after results were added or the list was cleared. The window never
// copies records; it reads them by index while painting.
//
// Menus belong to the view: menuRequested() says where and whether it came over a result, after
// the right button has applied its selection rule; the view picks the menu by the selected count.
//
// The scroll bar counts rows, not pixels: its value is the first visible row and its maximum the
// row that puts the last row at the bottom, so any count the list can hold scrolls exactly.
class MatchListWindows : public QAbstractScrollArea {
  Q_OBJECT

 public:
  explicit MatchListWindows(ResultList& list, QWidget* parent = nullptr);

  ResultList& list() { return *m_list; }
  const ResultList& list() const { return *m_list; }
  // The pane's list now lives elsewhere (its owner's storage moved): show that one.
  void setList(ResultList& list);

  void setFonts(const QFont& results, const QFont& annotation, const QColor& resultsColour,
                const QColor& annotationColour);
  // How common an entry is (ResultRowStyle::RankOf), null for an unranked list. With `lighter`,
  // words from kRareFrom on are drawn in a lighter colour; the tooltip of a ranked word gives its
  // rank.
  using RankOf = ResultRowStyle::RankOf;
  static constexpr int kRareFrom = ResultRowStyle::kRareFrom;
  void setRanks(RankOf rankOf, bool lighter);
  const QFont& resultsFont() const { return m_style.resultsFont(); }
  const QFont& annotationFont() const { return m_style.annotationFont(); }

  // After results were added or the list was cleared: sets the scroll range and repaints the rows
  // that may have changed. Cheap enough to call every 100 ms during a search.
  void updateDisplay();
  // After the view changed the core's selection itself: repaints every row in view.
  void refresh();

  int rowHeight() const { return m_style.rowHeight(); }
  long firstVisibleRow() const;
  // Rows that fit whole in the list, at least one: a page for the scroll bar and the Page keys.
  int wholeVisibleRows() const;
  // The row under a point of the viewport: may be negative or past the last row.
  long rowAt(QPoint viewportPos) const;
  QRect rowRect(long row) const;  // in viewport coordinates
  // Scrolls as little as needed to show the row whole.
  void scrollToRow(long row);
  // Moves the caret as the unmodified key would (the selection becomes the caret row), shows it
  // and repaints: for stepping to the next or previous result from elsewhere.
  void moveCaret(ResultSelection::Key key);
  // Whether the list holds the keyboard focus; a shortcut menu opened from it does not count as
  // taking the focus away.
  bool isFocused() const { return m_focused; }

 public slots:
  // Puts the selected records on the clipboard, one per line with the platform's line end when
  // several are selected; does nothing when none is.
  void copy();
  void selectAll();

 signals:
  void focusGained();  // the view makes this pane the active pane
  void focusLost();
  void resultDoubleClicked(long row, Qt::KeyboardModifiers modifiers);
  // The right button was released over the list (overResult: over an existing row), or the menu
  // key or Shift+F10 was pressed (at the list's top-left corner; overResult: the caret row exists).
  void menuRequested(QPoint globalPos, bool overResult);
  // After any key or click that may have moved the caret or changed the selection.
  void selectionChanged();

 protected:
  bool event(QEvent* event) override;
  bool viewportEvent(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  ResultSelection& selection() { return m_list->selection(); }
  void updateScrollRange();
  void pressLeft(QPoint pos, Qt::KeyboardModifiers modifiers);
  void followPointer();  // the drag: the caret goes to the row under the pointer
  void endDrag();
  void showToolTip(QPoint pos, QPoint globalPos);
  void afterSelectionChange();

  ResultList* m_list;
  ResultRowStyle m_style;
  bool m_focused = false;
  bool m_leftDown = false;
  bool m_rightDown = false;
  QPoint m_pointer;    // last pointer position of a drag, in viewport coordinates
  QTimer m_dragTimer;  // keeps a drag going while the pointer rests outside the list
};

}  // namespace qel
