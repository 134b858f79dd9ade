// Next Result and Previous Result, asked for by a definition window: the step from the active
// pane's caret through the panes' results.
#pragma once

#include <optional>
#include <vector>

namespace qel {

struct PaneRows {
  long caret = -1;  // -1: no caret
  long rows = 0;
};

struct ResultStep {
  int pane = 0;
  long row = 0;
};

// One row down (or up) from the active pane's caret; failing that, the first row of the next pane
// (or the last row of the previous one) that has rows, and so on. None when no step is possible.
std::optional<ResultStep> resultStep(const std::vector<PaneRows>& panes, int activePane, bool next);

}  // namespace qel
