// The main window's command rules, from snapshots of its state.
#include <gtest/gtest.h>

#include <map>

#include "app/CommandStates.h"

namespace qel {
namespace {

std::map<Command, CommandState> statesOf(const CommandSnapshot& snapshot) {
  std::map<Command, CommandState> states;
  for (const CommandState& state : commandStates(snapshot)) states[state.command] = state;
  return states;
}

CommandSnapshot threeOpen() {
  CommandSnapshot s;
  s.dictionaries = 3;
  s.panesShown = true;
  s.activeName = "words";
  s.activeResults = 5;
  return s;
}

TEST(CommandStates, EnabledCommandsFollowTheWindowsState) {
  using C = Command;
  const struct {
    const char* what;
    CommandSnapshot snapshot;
    std::vector<C> enabled;
    std::vector<C> disabled;
  } cases[] = {
      {"first of three, results",
       threeOpen(),
       {C::kOpen, C::kClose, C::kDemote, C::kSaveResults, C::kPrint, C::kSelectAll,
        C::kTileHorizontal, C::kPageSetup},
       {C::kPromote, C::kCopy, C::kCut, C::kPaste, C::kDictionaryBuilder}},
      {"searching",
       [] {
         auto s = threeOpen();
         s.searching = true;
         return s;
       }(),
       {C::kPageSetup},
       {C::kOpen, C::kClose, C::kOptions, C::kSaveResults, C::kTileVertical, C::kDemote}},
      {"last of three, a selection",
       [] {
         auto s = threeOpen();
         s.activePane = 2;
         s.activeSelected = 1;
         return s;
       }(),
       {C::kPromote, C::kCopy},
       {C::kDemote}},
      {"panes not yet shown",
       [] {
         auto s = threeOpen();
         s.panesShown = false;
         return s;
       }(),
       {C::kOpen},
       {C::kClose, C::kSaveResults, C::kSelectAll}},
      {"pattern with a selection",
       [] {
         auto s = threeOpen();
         s.inPattern = s.patternSelection = true;
         return s;
       }(),
       {C::kCut, C::kCopy, C::kPaste, C::kSelectAll},
       {}},
      {"one dictionary, no results, builder found",
       [] {
         CommandSnapshot s;
         s.dictionaries = 1;
         s.panesShown = true;
         s.companionsFound = {C::kDictionaryBuilder};
         return s;
       }(),
       {C::kClose, C::kDictionaryBuilder},
       {C::kDemote, C::kPromote, C::kSaveResults, C::kPrintPreview, C::kSelectAll,
        C::kTileHorizontal, C::kWordListMerge}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const auto states = statesOf(c.snapshot);
    for (C command : c.enabled)
      EXPECT_TRUE(states.at(command).enabled) << static_cast<int>(command);
    for (C command : c.disabled)
      EXPECT_FALSE(states.at(command).enabled) << static_cast<int>(command);
  }
}

TEST(CommandStates, TextsNameTheActiveDictionaryWithoutTheShortcut) {
  auto states = statesOf(threeOpen());
  EXPECT_EQ(states.at(Command::kClose).text, "&Close \"words\"");
  EXPECT_EQ(states.at(Command::kSaveResults).text, "Save Results from \"words\" &As...");
  EXPECT_TRUE(states.at(Command::kOpen).text.empty());
  EXPECT_TRUE(states.at(Command::kTileHorizontal).checked);
  states = statesOf(CommandSnapshot{});
  EXPECT_EQ(states.at(Command::kProperties).text, "P&roperties...");
}

}  // namespace
}  // namespace qel
