#include "search/ResultStepping.h"

namespace qel {

std::optional<ResultStep> resultStep(const std::vector<PaneRows>& panes, int activePane,
                                     bool next) {
  const int count = static_cast<int>(panes.size());
  if (activePane < 0 || activePane >= count) return std::nullopt;
  const PaneRows& active = panes[activePane];
  if (active.caret >= 0) {
    const long row = active.caret + (next ? 1 : -1);
    if (row >= 0 && row < active.rows) return ResultStep{activePane, row};
  }
  for (int pane = activePane + (next ? 1 : -1); pane >= 0 && pane < count; pane += next ? 1 : -1) {
    if (panes[pane].rows > 0) return ResultStep{pane, next ? 0 : panes[pane].rows - 1};
  }
  return std::nullopt;
}

}  // namespace qel
