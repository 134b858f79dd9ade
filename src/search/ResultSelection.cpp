#include "search/ResultSelection.h"

#include <algorithm>

namespace qel {

void ResultSelection::clear() {
  m_runs.clear();
  m_caret = m_anchor = m_dragOrigin = -1;
  m_dragMode = DragMode::SelectOnly;
}

bool ResultSelection::isSelected(int row) const {
  // The first run that ends after the row is the only one that can hold it.
  auto it = std::upper_bound(m_runs.begin(), m_runs.end(), row,
                             [](int r, const Run& run) { return r < run.start + run.count; });
  return it != m_runs.end() && it->start <= row;
}

bool ResultSelection::isShownSelected(int row) const {
  if (m_dragOrigin >= 0 && m_caret >= 0) {
    const int lo = std::min(m_dragOrigin, m_caret), hi = std::max(m_dragOrigin, m_caret);
    if (row >= lo && row <= hi) return m_dragMode != DragMode::Deselect;
    if (m_dragMode == DragMode::SelectOnly) return false;
  }
  return isSelected(row);
}

long ResultSelection::selectedCount() const {
  long n = 0;
  for (const Run& r : m_runs) n += r.count;
  return n;
}

void ResultSelection::selectOnly(int row) {
  m_runs.clear();
  if (row >= 0) m_runs.push_back({row, 1});
}

void ResultSelection::selectAll(int rowCount) {
  m_runs.clear();
  if (rowCount > 0) m_runs.push_back({0, rowCount});
}

void ResultSelection::setRange(int first, int last, bool select) {
  if (first > last) std::swap(first, last);
  if (first < 0) return;
  std::vector<Run> merged;
  merged.reserve(m_runs.size() + 2);
  for (const Run& r : m_runs) {
    const int end = r.start + r.count;  // one past
    if (end <= first || r.start > last) {
      merged.push_back(r);
      continue;
    }
    // The part of the run outside [first, last] stays.
    if (r.start < first) merged.push_back({r.start, first - r.start});
    if (end > last + 1) merged.push_back({last + 1, end - last - 1});
  }
  if (select) merged.push_back({first, last - first + 1});
  std::sort(merged.begin(), merged.end(),
            [](const Run& a, const Run& b) { return a.start < b.start; });
  m_runs.clear();
  for (const Run& r : merged) {
    if (!m_runs.empty() && m_runs.back().start + m_runs.back().count >= r.start) {
      Run& back = m_runs.back();
      back.count = std::max(back.start + back.count, r.start + r.count) - back.start;
    } else {
      m_runs.push_back(r);
    }
  }
}

void ResultSelection::rowInserted(int row) {
  for (Run& r : m_runs) {
    if (r.start >= row) {
      ++r.start;
    } else if (row < r.start + r.count) {
      ++r.count;
    }
  }
  const bool marked = m_anchor >= 0 || m_dragOrigin >= 0;
  if (m_anchor >= row) ++m_anchor;
  if (m_dragOrigin >= row) ++m_dragOrigin;
  if (marked && m_caret >= row) ++m_caret;
}

void ResultSelection::key(Key key, bool shift, bool ctrl, int rowCount, int pageRows) {
  if (rowCount <= 0) return;
  const int page = std::max(1, pageRows - 1);
  const int before = m_caret < 0 ? 0 : std::min(m_caret, rowCount - 1);
  int caret = before;
  switch (key) {
    case Key::Up:
    case Key::Left:
      caret = m_caret < 0 ? 0 : caret - 1;
      break;
    case Key::Down:
    case Key::Right:
      caret = m_caret < 0 ? 0 : caret + 1;
      break;
    case Key::Home:
      caret = 0;
      break;
    case Key::End:
      caret = rowCount - 1;
      break;
    case Key::PageUp:
      caret -= page;
      break;
    case Key::PageDown:
      caret += page;
      break;
    case Key::Space:
      break;
  }
  m_caret = std::clamp(caret, 0, rowCount - 1);
  if (shift) {
    if (m_anchor < 0) m_anchor = before;
    selectOnly(-1);
    setRange(m_anchor, m_caret, true);
  } else if (ctrl) {
    if (key == Key::Space) setRange(m_caret, m_caret, !isSelected(m_caret));
  } else {
    selectOnly(m_caret);
  }
}

void ResultSelection::press(int row, bool shift, bool ctrl, int rowCount) {
  if (row < 0 || row >= rowCount) return;
  if (ctrl && !shift) {
    m_dragMode = isSelected(row) ? DragMode::Deselect : DragMode::Select;
    m_dragOrigin = row;
  } else {
    m_runs.clear();
    m_dragMode = shift ? DragMode::Select : DragMode::SelectOnly;
    // Shift extends from where the caret was, as it does from the keyboard.
    if (shift && m_anchor < 0) m_anchor = m_caret >= 0 ? std::min(m_caret, rowCount - 1) : row;
    m_dragOrigin = shift ? m_anchor : row;
  }
  m_caret = row;
}

void ResultSelection::dragTo(int row, int rowCount) {
  if (m_dragOrigin < 0 || rowCount <= 0) return;
  m_caret = std::clamp(row, 0, rowCount - 1);
}

void ResultSelection::release() {
  if (m_dragOrigin < 0) return;
  if (m_caret >= 0) setRange(m_dragOrigin, m_caret, m_dragMode != DragMode::Deselect);
  m_dragOrigin = -1;
}

void ResultSelection::rightPress(int row, bool shift, bool ctrl, int rowCount) {
  if (m_dragOrigin >= 0 || shift || ctrl || row < 0 || row >= rowCount) return;
  if (!isSelected(row)) {
    selectOnly(row);
    m_caret = row;
  }
}

}  // namespace qel
