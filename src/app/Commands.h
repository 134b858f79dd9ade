// The commands of the main window: their identifiers (which are also their help contexts and the
// numbers of their hints), menu texts and hints, and the rules that rewrite menu texts.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace qel {

enum class Command : int {
  kOpen = 7550,
  kClose = 7580,
  kSaveResults = 7480,
  kDemote = 7600,
  kPromote = 7590,
  kProperties = 7540,
  kPrint = 7520,
  kPrintPreview = 7530,
  kPageSetup = 3780,
  kRecentFile = 4840,  // 4840 to 4849: the previously used dictionaries
  kExit = 24310,
  kCut = 7620,
  kCopy = 7500,
  kPaste = 7610,
  kSelectAll = 7510,
  kLookup = 7490,
  kLookupInNewWindow = 12640,
  kExternalLookup = 12710,
  kExternalLookupMethod = 13120,  // 13120 to 13135: the enabled external lookup methods
  kExternalLookupSetup = 5140,
  kOptions = 7560,
  kDictionaryBuilder = 4980,
  kWordListMerge = 5120,
  kTileHorizontal = 11860,
  kTileVertical = 11870,
  kQuickReference = 4820,
  kStartupTips = 13390,
  kHelpContents = 3770,
  kEmailSupport = 12110,
  kOnlineHelp = 6740,
  kOnlineTutorial = 5670,
  kAbout = 1770,
};

inline constexpr int kMainViewHelpContext = 4250;
inline constexpr int kMaxRecentFileItems = 10;
inline constexpr int kExternalLookupMethodCount = 16;  // from Command::kExternalLookupMethod on

// External Lookup with the enabled method at `position` (from 0, in the method table's order),
// and back: the position a command names, none for a command outside the methods' range.
Command externalLookupMethodCommand(int position);
std::optional<int> externalLookupMethodPosition(Command command);

struct CommandInfo {
  Command command;
  std::string_view text;  // "&Open...\tCtrl+O"; a "*" stands for the active dictionary's name
  std::string_view hint;  // shown in the status bar while the item is under the pointer
  // In a results pane's shortcut menus, where the active dictionary goes without saying; empty
  // when it is `text`.
  std::string_view paneMenuText = {};
};

const CommandInfo& commandInfo(Command command);

// The text of a File menu item that names the active dictionary: the name in place of "*", or,
// with no dictionary open, the phrase that names it left out ("&Close", "Save Results &As...").
std::string menuText(Command command, std::string_view activeName, bool anyOpen);

// The text of the command in a results pane's shortcut menus.
std::string_view paneMenuText(Command command);

// "&1 path" for the first previously used dictionary ... "&0 path" for the tenth.
std::string recentFileText(int index, std::string_view path);

// The help context of a menu that holds these commands: the pairing of the first one found, or 0.
int menuHelpContext(std::span<const Command> commands);

}  // namespace qel
