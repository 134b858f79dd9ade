// Menu texts that name the active dictionary, and without one; the previously used list's numbers.
#include <gtest/gtest.h>

#include "app/Commands.h"

namespace qel {
namespace {

TEST(Commands, FileMenuTextsNameTheActiveDictionaryOrLeaveThePhraseOut) {
  const struct {
    Command command;
    const char* named;
    const char* none;
  } cases[] = {
      {Command::kClose, "&Close \"words\"", "&Close"},
      {Command::kDemote, "&Demote \"words\"", "&Demote"},
      {Command::kPromote, "Pro&mote \"words\"", "Pro&mote"},
      {Command::kProperties, "P&roperties for \"words\"...", "P&roperties..."},
      {Command::kSaveResults, "Save Results from \"words\" &As...\tCtrl+S",
       "Save Results &As...\tCtrl+S"},
      {Command::kPrint, "&Print Results from \"words\"...\tCtrl+P", "&Print Results...\tCtrl+P"},
      {Command::kPrintPreview, "Print Pre&view Results from \"words\"...",
       "Print Pre&view Results..."},
      {Command::kOpen, "&Open...\tCtrl+O", "&Open...\tCtrl+O"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(menuText(c.command, "words", true), c.named);
    EXPECT_EQ(menuText(c.command, "", false), c.none);
  }
}

TEST(Commands, TheTenthPreviouslyUsedDictionaryIsNumberedZero) {
  EXPECT_EQ(recentFileText(0, "/a/words.qcd"), "&1 /a/words.qcd");
  EXPECT_EQ(recentFileText(8, "x"), "&9 x");
  EXPECT_EQ(recentFileText(9, "x"), "&0 x");
}

TEST(Commands, AMenuTakesTheHelpContextOfItsFirstPairedCommand) {
  const Command file[] = {Command::kOpen, Command::kClose, Command::kProperties};
  EXPECT_EQ(menuHelpContext(file), 3670);
  const Command edit[] = {Command::kCut, Command::kCopy, Command::kLookup};
  EXPECT_EQ(menuHelpContext(edit), 4210);
  const Command none[] = {Command::kAbout};
  EXPECT_EQ(menuHelpContext(none), 0);
}

}  // namespace
}  // namespace qel
