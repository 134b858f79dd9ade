// The splitters between the main view's results panes: where each pane lies in the pane area, the
// gap before each pane's leading edge that the mouse drags, and the proportions kept for each
// number of panes. The view places its panes where this says and hands it the mouse.
#pragma once

#include <QObject>
#include <QRect>
#include <QString>
#include <functional>
#include <vector>

class QMouseEvent;
class QWidget;

namespace qel {

class PaneSplitter : public QObject {
  Q_OBJECT

 public:
  // `view` gets the resize cursors and the mouse grab while a splitter is dragged.
  explicit PaneSplitter(QWidget* view);

  // 0: panes one on top of the other; 1: side by side.
  void setOrientation(int orientation) { m_orientation = orientation == 1 ? 1 : 0; }
  int orientation() const { return m_orientation; }
  void setGap(int gap) { m_gap = gap; }
  int gap() const { return m_gap; }
  // Where the proportions for a number of panes are kept ("Panes<N>").
  void setProportionsStore(std::function<QString(int panes)> read,
                           std::function<void(int panes, const QString& text)> write);

  // Lays `count` panes out in `area`: in the stored proportions, unless the panes are the same
  // number as before and a splitter is being dragged. forget() makes the next call start afresh.
  void layOut(int count, const QRect& area);
  void forget() { m_edges.clear(); }
  // The rectangle of pane i, after layOut().
  QRect paneRect(int i) const;

  // The view's mouse events: true when a splitter took the event.
  bool mousePress(QMouseEvent* event);
  bool mouseMove(QMouseEvent* event);
  bool mouseRelease(QMouseEvent* event);

 signals:
  // A drag moved the panes: the view places them again.
  void moved();

 private:
  // Each pane's extent includes the gap at its far end; the area is one gap longer than what is
  // seen, so that the last pane ends a gap before the view's edge.
  int axisExtent() const;
  int along(const QPoint& point) const;
  // The pane whose leading edge's splitter is at `point`, or -1.
  int splitterAt(const QPoint& point) const;
  void storeProportions();

  QWidget* m_view;
  int m_orientation = 0;
  int m_gap = 8;
  QRect m_area;
  std::vector<int> m_edges;  // each pane's leading edge along the pane area
  int m_dragging = -1;       // the pane whose leading edge is being dragged
  std::function<QString(int)> m_readProportions;
  std::function<void(int, const QString&)> m_writeProportions;
};

}  // namespace qel
