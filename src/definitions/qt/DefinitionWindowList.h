// Every definition window the program has made: one closed by the user is hidden and used again,
// with its number, before a new one is made.
#pragma once

#include <memory>
#include <vector>

#include "definitions/qt/DefinitionViewFrame.h"

namespace qel {

class DefinitionWindowList {
 public:
  explicit DefinitionWindowList(DefinitionSource& source) : m_source(source) {}

  // The window a lookup shows in. Lookup reuses the visible window that was active last;
  // Lookup in New Window (`newWindow`), or a lookup with none visible, takes the first hidden
  // window, else a new one numbered one more than the visible ones.
  DefinitionViewFrame* window(bool newWindow);

  const std::vector<std::unique_ptr<DefinitionViewFrame>>& frames() const { return m_frames; }
  // Shows the visible windows' definitions again (fonts or colours changed).
  void refreshAll();
  // Sets the visible windows' Previous and Next Result by the main window's results.
  void updateResultSteps();
  // Closes the visible windows, each storing its position (the program is ending).
  void closeAll();

 private:
  DefinitionSource& m_source;
  std::vector<std::unique_ptr<DefinitionViewFrame>> m_frames;
};

}  // namespace qel
