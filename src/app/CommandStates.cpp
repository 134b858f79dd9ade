// The rules that enable the main window's commands and name the active dictionary in them.
#include "app/CommandStates.h"

#include <algorithm>

namespace qel {
namespace {

// The menu text as an action takes it: its shortcut is the action's own.
std::string withoutShortcut(std::string text) {
  const size_t tab = text.find('\t');
  if (tab != std::string::npos) text.erase(tab);
  return text;
}

}  // namespace

std::vector<CommandState> commandStates(const CommandSnapshot& s) {
  const bool idle = !s.searching;
  const int count = s.dictionaries;
  const bool anyOpen = count > 0 && s.panesShown;
  const int active = std::clamp(s.activePane, 0, std::max(count - 1, 0));
  const bool anyResults = anyOpen && s.activeResults > 0;
  const bool tiling = idle && count >= 2;
  auto found = [&](Command c) {
    return std::find(s.companionsFound.begin(), s.companionsFound.end(), c) !=
           s.companionsFound.end();
  };
  auto named = [&](Command c) { return withoutShortcut(menuText(c, s.activeName, anyOpen)); };
  return {
      {Command::kOpen, idle},
      {Command::kClose, idle && anyOpen, false, named(Command::kClose)},
      {Command::kDemote, idle && anyOpen && active < count - 1, false, named(Command::kDemote)},
      {Command::kPromote, idle && anyOpen && active > 0, false, named(Command::kPromote)},
      {Command::kProperties, idle && anyOpen, false, named(Command::kProperties)},
      {Command::kSaveResults, idle && anyResults, false, named(Command::kSaveResults)},
      // Without a printer installed, printing writes a PDF file.
      {Command::kPrint, idle && anyResults, false, named(Command::kPrint)},
      {Command::kPrintPreview, idle && anyResults, false, named(Command::kPrintPreview)},
      // The margins do not touch a running search; without a printer they shape the PDF.
      {Command::kPageSetup, true},
      {Command::kOptions, idle},
      {Command::kDictionaryBuilder, found(Command::kDictionaryBuilder)},
      {Command::kWordListMerge, found(Command::kWordListMerge)},
      {Command::kTileHorizontal, tiling, !s.sideBySide},
      {Command::kTileVertical, tiling, s.sideBySide},
      {Command::kCut, s.inPattern && s.patternSelection},
      {Command::kCopy, s.inPattern ? s.patternSelection : anyResults && s.activeSelected > 0},
      {Command::kPaste, s.inPattern},
      {Command::kSelectAll, s.inPattern || anyResults},
  };
}

}  // namespace qel
