// Pane rectangles from the pane layout's arithmetic, and the drag of a splitter.
#include "search/qt/PaneSplitter.h"

#include <QMouseEvent>
#include <QWidget>

#include "search/PaneLayout.h"

namespace qel {

PaneSplitter::PaneSplitter(QWidget* view) : QObject(view), m_view(view) {}

void PaneSplitter::setProportionsStore(std::function<QString(int)> read,
                                       std::function<void(int, const QString&)> write) {
  m_readProportions = std::move(read);
  m_writeProportions = std::move(write);
}

int PaneSplitter::axisExtent() const {
  return m_orientation == 1 ? m_area.width() + m_gap : m_area.height() + m_gap;
}

int PaneSplitter::along(const QPoint& point) const {
  return m_orientation == 1 ? point.x() - m_area.left() : point.y() - m_area.top();
}

void PaneSplitter::layOut(int count, const QRect& area) {
  m_area = area;
  if (count == 0) return;
  if (static_cast<int>(m_edges.size()) != count || m_dragging < 0) {
    const QString stored = m_readProportions ? m_readProportions(count) : QString();
    m_edges = edgesOf(paneExtents(count, axisExtent(), stored.toStdString()));
  }
}

QRect PaneSplitter::paneRect(int i) const {
  const int count = static_cast<int>(m_edges.size());
  const int start = m_edges[i];
  const int end = (i + 1 < count ? m_edges[i + 1] : axisExtent()) - m_gap;
  if (m_orientation == 1) {
    return QRect(m_area.left() + start, m_area.top(), end - start, m_area.height());
  }
  return QRect(m_area.left(), m_area.top() + start, m_area.width(), end - start);
}

// The zone of one gap before each pane's leading edge, except the first's, is a splitter.
int PaneSplitter::splitterAt(const QPoint& point) const {
  if (!m_area.adjusted(-1, -1, 1, 1).contains(point)) return -1;
  const int at = along(point);
  for (size_t i = 1; i < m_edges.size(); ++i) {
    if (at >= m_edges[i] - m_gap && at < m_edges[i]) return static_cast<int>(i);
  }
  return -1;
}

bool PaneSplitter::mousePress(QMouseEvent* event) {
  const int pane = splitterAt(event->position().toPoint());
  if (event->button() != Qt::LeftButton || pane <= 0) return false;
  m_dragging = pane;
  m_view->grabMouse();
  return true;
}

bool PaneSplitter::mouseMove(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  if (m_dragging > 0) {
    const std::vector<int> moved =
        moveSplitter(m_edges, axisExtent(), m_gap, m_dragging, along(at) + m_gap / 2);
    if (moved != m_edges) {
      m_edges = moved;
      emit this->moved();
    }
    return true;
  }
  const bool overSplitter = splitterAt(at) > 0;
  m_view->setCursor(!overSplitter ? Qt::ArrowCursor
                                  : (m_orientation == 1 ? Qt::SizeHorCursor : Qt::SizeVerCursor));
  return true;
}

bool PaneSplitter::mouseRelease(QMouseEvent*) {
  if (m_dragging <= 0) return false;
  m_dragging = -1;
  m_view->releaseMouse();
  storeProportions();
  return true;
}

void PaneSplitter::storeProportions() {
  if (!m_writeProportions || m_edges.empty()) return;
  const int extent = axisExtent();
  m_writeProportions(static_cast<int>(m_edges.size()),
                     QString::fromStdString(paneExtentsText(extent, extentsOf(m_edges, extent))));
}

}  // namespace qel
