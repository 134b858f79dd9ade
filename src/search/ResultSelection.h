// The selection of a results list: runs of selected rows, the caret, the Shift anchor and the state
// of a mouse drag, with the keyboard and mouse rules that change them.
#pragma once

#include <cstdint>
#include <vector>

namespace qel {

class ResultSelection {
 public:
  struct Run {
    int start;
    int count;
    bool operator==(const Run&) const = default;
  };
  enum class DragMode { Deselect = 0, Select = 1, SelectOnly = 2 };
  enum class Key { Up, Down, Left, Right, Home, End, PageUp, PageDown, Space };

  void clear();
  const std::vector<Run>& runs() const { return m_runs; }
  int caret() const { return m_caret; }
  int anchor() const { return m_anchor; }
  int dragOrigin() const { return m_dragOrigin; }
  DragMode dragMode() const { return m_dragMode; }

  bool isSelected(int row) const;
  // As shown while a drag is under way: the dragged range in the drag mode over the runs.
  bool isShownSelected(int row) const;
  long selectedCount() const;
  void selectOnly(int row);
  void selectAll(int rowCount);
  void setRange(int first, int last, bool select);

  // A record was inserted at `row`: rows, runs and marks at or after it move down by one.
  void rowInserted(int row);

  // Keyboard, over a list of rowCount rows of which pageRows are fully visible.
  void key(Key key, bool shift, bool ctrl, int rowCount, int pageRows);
  void shiftReleased() { m_anchor = -1; }

  // Mouse: button down on a row (below the last row: nothing), moves while held, release.
  void press(int row, bool shift, bool ctrl, int rowCount);
  void dragTo(int row, int rowCount);
  void release();
  // Right button: the row under the pointer becomes the selection unless it is selected already.
  void rightPress(int row, bool shift, bool ctrl, int rowCount);

 private:
  std::vector<Run> m_runs;  // sorted, disjoint, not adjacent
  int m_caret = -1;
  int m_anchor = -1;
  int m_dragOrigin = -1;
  DragMode m_dragMode = DragMode::SelectOnly;
};

}  // namespace qel
