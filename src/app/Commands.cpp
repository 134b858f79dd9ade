// The command table and the rules that rewrite the File menu's texts.
#include "app/Commands.h"

#include <algorithm>
#include <array>

namespace qel {
namespace {

constexpr CommandInfo kCommands[] = {
    {Command::kOpen, "&Open...\tCtrl+O", "Open a dictionary for searching"},
    {Command::kClose, "&Close \"*\"", "Close the active dictionary", "&Close"},
    {Command::kSaveResults, "Save Results from \"*\" &As...\tCtrl+S",
     "Save the list of results as a file", "Save Results &As...\tCtrl+S"},
    {Command::kDemote, "&Demote \"*\"", "Move the active dictionary down in the search order",
     "&Demote"},
    {Command::kPromote, "Pro&mote \"*\"", "Move the active dictionary up in the search order",
     "Pro&mote"},
    {Command::kProperties, "P&roperties for \"*\"...",
     "Show the location, description and statistics of the active dictionary", "P&roperties"},
    {Command::kPrint, "&Print Results from \"*\"...\tCtrl+P", "Print the list of results",
     "&Print...\tCtrl+P"},
    {Command::kPrintPreview, "Print Pre&view Results from \"*\"...",
     "Show the printed pages of the list of results", "Print Pre&view..."},
    {Command::kPageSetup, "Page Set&up...", "Choose the paper and the margins for printing"},
    {Command::kRecentFile, "", "Change to this previously used dictionary"},
    {Command::kExit, "E&xit", "Close QEL"},
    {Command::kCut, "Cu&t\tCtrl+X", "Cut the selected text of the pattern to the clipboard"},
    {Command::kCopy, "&Copy\tCtrl+C", "Copy the selection to the clipboard"},
    {Command::kPaste, "&Paste\tCtrl+V", "Paste the clipboard into the pattern"},
    {Command::kSelectAll, "&Select All\tCtrl+A", "Select the whole pattern or every result"},
    {Command::kLookup, "&Lookup...\tCtrl+Enter", "Show the definitions of the selected word"},
    {Command::kLookupInNewWindow, "Lookup in &New Window...\tShift+Ctrl+Enter",
     "Show the definitions of the selected word in a new window"},
    {Command::kExternalLookup, "&External Lookup", "Look the selected word up outside QEL",
     "&External Lookup\tCtrl+Alt+Enter"},
    {Command::kExternalLookupSetup, "&Setup...", "Choose the ways of looking words up outside QEL"},
    {Command::kOptions, "&Options...", "Change the options of QEL"},
    {Command::kDictionaryBuilder, "Dictionary &Builder",
     "Start the QEL&Corvanth Dictionary Builder application"},
    {Command::kWordListMerge, "Word List &Merge",
     "Start the QEL&Corvanth Word List Merge application"},
    {Command::kTileHorizontal, "Tile &Horizontal", "Show results lists one on top of the other"},
    {Command::kTileVertical, "Tile &Vertical", "Show results lists side by side"},
    {Command::kQuickReference, "&Quick Reference...", "Show examples of the pattern language"},
    {Command::kStartupTips, "&Startup Tips...", "Show a tip on using QEL"},
    {Command::kHelpContents, "&Contents", "Show the contents of the help"},
    {Command::kEmailSupport, "&Email Support", "Write to QEL support"},
    {Command::kOnlineHelp, "Online &Help", "Open the help in your web browser"},
    {Command::kOnlineTutorial, "Online &Tutorial", "Open the tutorial in your web browser"},
    {Command::kAbout, "&About QEL...", "Show the version of QEL and the sources of its data"},
};

struct Phrase {
  Command command;
  size_t start;  // where the phrase that names the dictionary starts: the blank before it
};
// The phrase runs from its start to the closing quote.
constexpr Phrase kPhrases[] = {
    {Command::kClose, 6},         {Command::kDemote, 7},       {Command::kPromote, 8},
    {Command::kProperties, 11},   {Command::kSaveResults, 12}, {Command::kPrint, 14},
    {Command::kPrintPreview, 22},
};

struct ContextPair {
  Command command;
  int context;
};
// A menu's help context: the first of these commands it holds decides.
constexpr ContextPair kMenuContexts[] = {
    {Command::kOpen, 3670},
    {Command::kCut, 4210},
    {Command::kOptions, 4990},
    {Command::kTileHorizontal, 12120},
    {Command::kHelpContents, 3730},
    {Command::kProperties, 6640},
    {Command::kPrintPreview, 6660},
    {Command::kLookup, 8480},
    {Command::kExternalLookupSetup, 13330},
    {static_cast<Command>(12740), 8480},
    {static_cast<Command>(12760), 12750},
};

}  // namespace

const CommandInfo& commandInfo(Command command) {
  for (const CommandInfo& info : kCommands) {
    if (info.command == command) return info;
  }
  static constexpr CommandInfo kUnknown{Command::kExit, "", ""};
  return kUnknown;
}

std::string menuText(Command command, std::string_view activeName, bool anyOpen) {
  std::string text(commandInfo(command).text);
  const size_t star = text.find('*');
  if (star == std::string::npos) return text;
  if (anyOpen) return text.replace(star, 1, activeName);
  for (const Phrase& phrase : kPhrases) {
    if (phrase.command != command) continue;
    const size_t end = text.find('"', star) + 1;  // the closing quote
    return text.erase(phrase.start, end - phrase.start);
  }
  return text;
}

std::string_view paneMenuText(Command command) {
  const CommandInfo& info = commandInfo(command);
  return info.paneMenuText.empty() ? info.text : info.paneMenuText;
}

Command externalLookupMethodCommand(int position) {
  return static_cast<Command>(static_cast<int>(Command::kExternalLookupMethod) + position);
}

std::optional<int> externalLookupMethodPosition(Command command) {
  const int position = static_cast<int>(command) - static_cast<int>(Command::kExternalLookupMethod);
  if (position < 0 || position >= kExternalLookupMethodCount) return std::nullopt;
  return position;
}

std::string recentFileText(int index, std::string_view path) {
  return "&" + std::to_string((index + 1) % 10) + " " + std::string(path);
}

int menuHelpContext(std::span<const Command> commands) {
  for (const ContextPair& pair : kMenuContexts) {
    if (std::find(commands.begin(), commands.end(), pair.command) != commands.end())
      return pair.context;
  }
  return 0;
}

}  // namespace qel
