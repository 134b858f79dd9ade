#include "definitions/qt/DefinitionWindowList.h"

namespace qel {

DefinitionViewFrame* DefinitionWindowList::window(bool newWindow) {
  DefinitionViewFrame* topmost = nullptr;
  int visible = 0;
  for (const auto& frame : m_frames) {
    if (!frame->isVisible()) continue;
    ++visible;
    if (!topmost || frame->activationOrder() > topmost->activationOrder()) topmost = frame.get();
  }
  if (topmost && !newWindow) return topmost;
  for (const auto& frame : m_frames) {
    if (!frame->isVisible()) return frame.get();
  }
  m_frames.push_back(std::make_unique<DefinitionViewFrame>(m_source, visible + 1));
  return m_frames.back().get();
}

void DefinitionWindowList::refreshAll() {
  for (const auto& frame : m_frames) {
    if (frame->isVisible()) frame->refresh();
  }
}

void DefinitionWindowList::updateResultSteps() {
  for (const auto& frame : m_frames) {
    if (frame->isVisible()) frame->updateResultSteps();
  }
}

void DefinitionWindowList::closeAll() {
  for (const auto& frame : m_frames) {
    if (frame->isVisible()) frame->close();
  }
}

}  // namespace qel
