// Every command of the main window, every menu and every tip has help: the command table, the tips
// file and the help table are kept by different hands, so an entry added to one without the other
// is caught here.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/Commands.h"
#include "app/HelpContexts.h"
#include "app/TipsFile.h"

namespace qel {
namespace {

constexpr int kHighestIdentifier = 32767;

TEST(HelpContexts, EveryCommandOfTheMainWindowHasATopic) {
  int commands = 0;
  for (int id = 1; id <= kHighestIdentifier; ++id) {
    const CommandInfo& info = commandInfo(static_cast<Command>(id));
    if (static_cast<int>(info.command) != id || info.hint.empty()) continue;
    ++commands;
    EXPECT_TRUE(hasHelpTopic(id)) << "command " << id << " (" << info.text << ") has no help topic";
  }
  EXPECT_GT(commands, 25);
}

TEST(HelpContexts, EveryPreviouslyUsedDictionaryItemHasATopic) {
  for (int i = 0; i < kMaxRecentFileItems; ++i) {
    EXPECT_TRUE(hasHelpTopic(static_cast<int>(Command::kRecentFile) + i)) << i;
  }
}

TEST(HelpContexts, EveryMenuContextHasATopic) {
  int menus = 0;
  for (int id = 1; id <= kHighestIdentifier; ++id) {
    const Command one[] = {static_cast<Command>(id)};
    const int context = menuHelpContext(one);
    if (context == 0) continue;
    ++menus;
    EXPECT_TRUE(hasHelpTopic(context))
        << "a menu holding " << id << " sets context " << context << ", which has no help topic";
  }
  EXPECT_GE(menus, 10);
}

TEST(HelpContexts, EveryQuickReferenceFeatureHasItsOwnTopic) {
  for (int row = 0; row < help::kQuickReferenceFeatureCount; ++row) {
    const std::string_view topic = helpTopic(help::kQuickReferenceFeature + row);
    EXPECT_FALSE(topic.empty()) << row;
    for (int other = 0; other < row; ++other)
      EXPECT_NE(topic, helpTopic(help::kQuickReferenceFeature + other)) << row << " " << other;
  }
}

TEST(HelpContexts, EveryTipOpensAHelpTopic) {
  // The tips file as the build puts it beside the programs.
  const auto path = std::filesystem::path(QEL_CLI_PATH).parent_path() / kTipsFileName;
  if (!std::filesystem::exists(path)) GTEST_SKIP() << "no tips file beside the programs";
  const TipsFile file = readTipsFile(path.string());
  ASSERT_EQ(file.error, 0);
  ASSERT_FALSE(file.tips.empty());
  for (const Tip& tip : file.tips) {
    EXPECT_TRUE(hasHelpTopic(tip.helpContext)) << "the tip \"" << tip.text << "\" opens context "
                                               << tip.helpContext << ", which has no help topic";
  }
}

TEST(HelpContexts, AContextWithoutATopicHasNone) {
  const auto topics = helpTopics();
  for (const int context : {0, -1, topics.front().context - 1, topics.back().context + 1, 4251}) {
    EXPECT_FALSE(hasHelpTopic(context)) << context;
    EXPECT_TRUE(helpTopic(context).empty()) << context;
  }
  EXPECT_EQ(helpTopic(topics.front().context), topics.front().topic);
  EXPECT_EQ(helpTopic(topics.back().context), topics.back().topic);
}

}  // namespace
}  // namespace qel
