// Which of the main window's commands are enabled, checked and how they read, worked out from a
// small snapshot of the window's state: one function, so that every refresh agrees and the rules
// can be tested without a window.
#pragma once

#include <string>
#include <vector>

#include "app/Commands.h"

namespace qel {

struct CommandSnapshot {
  bool searching = false;
  int dictionaries = 0;     // open
  bool panesShown = false;  // the view shows a pane for each open dictionary
  int activePane = 0;
  std::string activeName;   // of the active dictionary, as the File menu names it
  long activeResults = 0;   // in the active pane
  long activeSelected = 0;  // selected there
  bool inPattern = false;   // the pattern box is what the Edit commands act on
  bool patternSelection = false;
  bool sideBySide = false;               // the panes' orientation
  std::vector<Command> companionsFound;  // the companion programs beside the window program
};

struct CommandState {
  Command command;
  bool enabled = false;
  bool checked = false;
  std::string text;  // the menu text without its shortcut; empty: the text stays as it is
};

// The state of every command the snapshot decides (the lookup commands and the recent files
// follow their own rules).
std::vector<CommandState> commandStates(const CommandSnapshot& snapshot);

}  // namespace qel
