// The tips file: every kind of line, damaged and foreign files, the bounds, the stored index that
// wraps; and the shipped tips, each with a help topic and each example finding what it says.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <sstream>

#include "app/TipsFile.h"
#include "platform/FileAccess.h"
#include "support/CliRun.h"
#include "support/TestDictionaries.h"

namespace qel {
namespace {

const std::string kEllipsis = "\xE2\x80\xA6";

std::filesystem::path shippedTips() {
  return std::filesystem::path(__FILE__).parent_path().parent_path().parent_path() / "resources" /
         std::string(kTipsFileName);
}

TEST(TipsFile, EachKindOfLine) {
  const struct {
    const char* line;
    Tip tip;
  } cases[] = {
      {"4270 Type a pattern", {4270, "Type a pattern"}},
      {"  4280 \t Press Return  \r", {4280, "Press Return"}},
      {"4280\tTabs part the number too", {4280, "Tabs part the number too"}},
      {"0 A tip without a topic", {0, "A tip without a topic"}},
      // A first word that is not a number is part of the tip.
      {"Press F1 for help", {0, "Press F1 for help"}},
      {"12x is no number", {0, "12x is no number"}},
      {"-5 is no number", {0, "-5 is no number"}},
      {"Lonely", {0, "Lonely"}},
      // A number too big for a help context opens no topic.
      {"99999999999 Big", {0, "Big"}},
      {"2147483647 Largest", {2147483647, "Largest"}},
  };
  for (const auto& c : cases) {
    const TipsFile file = parseTips(c.line);
    ASSERT_EQ(file.tips.size(), 1u) << c.line;
    EXPECT_EQ(file.tips[0], c.tip) << c.line;
    EXPECT_FALSE(file.truncated);
  }
  // Nothing to show: no tip.
  for (const char* empty : {"", "   ", "\r", "4270", "4270   ", "\xEF\xBB\xBF"})
    EXPECT_TRUE(parseTips(empty).tips.empty()) << empty;
}

TEST(TipsFile, LineEndsMarkAndEncodings) {
  const std::vector<Tip> two = {{1, "one"}, {2, "two"}};
  EXPECT_EQ(parseTips("1 one\n2 two").tips, two);
  EXPECT_EQ(parseTips("1 one\r\n2 two\r\n").tips, two);
  EXPECT_EQ(parseTips("\xEF\xBB\xBF"
                      "1 one\n\n\n2 two\n")
                .tips,
            two);
  // UTF-8 stays as it is; a file that is not UTF-8 is code page 1252.
  EXPECT_EQ(parseTips("7 caf\xC3\xA9 \xE2\x80\x94 ok").tips[0].text, "caf\xC3\xA9 \xE2\x80\x94 ok");
  EXPECT_EQ(parseTips("7 caf\xE9 \x97 ok").tips[0].text, "caf\xC3\xA9 \xE2\x80\x94 ok");
  // One byte that is not UTF-8 decides for the whole file, so no line is read in two ways.
  const TipsFile mixed = parseTips("1 caf\xC3\xA9\n2 caf\xE9");
  EXPECT_EQ(mixed.tips[0].text, "caf\xC3\x83\xC2\xA9");
  EXPECT_EQ(mixed.tips[1].text, "caf\xC3\xA9");
  // Overlong forms and surrogates are not UTF-8.
  EXPECT_EQ(parseTips("1 \xC0\xAF").tips[0].text, "\xC3\x80\xC2\xAF");
  EXPECT_EQ(parseTips("1 \xED\xA0\x80").tips[0].text, "\xC3\xAD\xC2\xA0\xE2\x82\xAC");
}

TEST(TipsFile, BoundsCutVisiblyAndNeverSplitACharacter) {
  // A long tip of two-byte characters is cut on a character and ends with an ellipsis.
  std::string long_line = "5 ";
  for (size_t i = 0; i < kMaxTipBytes; ++i) long_line += "\xC3\xA9";
  TipsFile file = parseTips(long_line);
  ASSERT_EQ(file.tips.size(), 1u);
  EXPECT_TRUE(file.truncated);
  const std::string& text = file.tips[0].text;
  EXPECT_LE(text.size(), kMaxTipBytes);
  EXPECT_GT(text.size(), kMaxTipBytes - 8);
  ASSERT_TRUE(text.ends_with(kEllipsis));
  const std::string body = text.substr(0, text.size() - kEllipsis.size());
  EXPECT_EQ(body.size() % 2, 0u);
  EXPECT_EQ(parseTips("5 " + body).tips[0].text, body);  // still valid UTF-8
  // A tip exactly at the bound is whole.
  const std::string full(kMaxTipBytes, 'x');
  file = parseTips("5 " + full);
  EXPECT_EQ(file.tips[0].text, full);
  EXPECT_FALSE(file.truncated);

  // Lines beyond the count are left out, and the result says so.
  std::string many;
  for (size_t i = 0; i <= kMaxTips; ++i) many += std::to_string(i) + " tip\n";
  file = parseTips(many);
  EXPECT_EQ(file.tips.size(), kMaxTips);
  EXPECT_EQ(file.tips.back().helpContext, static_cast<int32_t>(kMaxTips - 1));
  EXPECT_TRUE(file.truncated);
  many.resize(many.rfind("1000 tip"));
  EXPECT_FALSE(parseTips(many).truncated);

  // Bytes beyond the file bound are not read, nor is the line they cut.
  std::string big = "1 first\n";
  big += std::string(kMaxTipsFileBytes, 'y');
  file = parseTips(big);
  EXPECT_EQ(file.tips, (std::vector<Tip>{{1, "first"}}));
  EXPECT_TRUE(file.truncated);
}

TEST(TipsFile, MissingFolderAndRealFiles) {
  test::TempDir dir;
  TipsFile file = readTipsFile(dir.file("Tips.txt"));
  EXPECT_EQ(file.error, ENOENT);
  EXPECT_TRUE(file.tips.empty());
  file = readTipsFile(dir.path());
  EXPECT_EQ(file.error, kNotRegularFile);
  EXPECT_TRUE(file.tips.empty());

  test::writeFile(dir.file("Tips.txt"), "");
  file = readTipsFile(dir.file("Tips.txt"));
  EXPECT_EQ(file.error, 0);
  EXPECT_TRUE(file.tips.empty());
  test::writeFile(dir.file("Tips.txt"), "4270 one\r\n4280 two\r\n");
  file = readTipsFile(dir.file("Tips.txt"));
  EXPECT_EQ(file.error, 0);
  EXPECT_EQ(file.tips, (std::vector<Tip>{{4270, "one"}, {4280, "two"}}));
  // Binary rubbish gives tips of some kind, never a failure.
  std::string rubbish;
  for (int i = 0; i < 5000; ++i) rubbish += static_cast<char>((i * 7919) % 256);
  test::writeFile(dir.file("Tips.txt"), rubbish);
  file = readTipsFile(dir.file("Tips.txt"));
  EXPECT_EQ(file.error, 0);
  for (const Tip& tip : file.tips) EXPECT_FALSE(tip.text.empty());
}

TEST(TipsFile, StoredIndexWrapsIntoTheTips) {
  // Five tips with the next index 4: tip 4 shows and 0 is stored.
  EXPECT_EQ(tipToShow(4, 5), 4u);
  EXPECT_EQ(nextIndexAfter(4, 5), 0);
  EXPECT_EQ(tipToShow(0, 5), 0u);
  EXPECT_EQ(nextIndexAfter(0, 5), 1);
  // A stored index from a longer file, or a damaged one, still shows a tip.
  EXPECT_EQ(tipToShow(7, 5), 2u);
  EXPECT_EQ(tipToShow(-1, 5), 4u);
  EXPECT_EQ(tipToShow(INT32_MIN, 5), 2u);
  EXPECT_EQ(tipToShow(INT32_MAX, 1), 0u);
  EXPECT_EQ(nextIndexAfter(0, 1), 0);
}

TEST(TipsFile, ShippedTipsEachHaveATopic) {
  const TipsFile file = readTipsFile(shippedTips().string());
  ASSERT_EQ(file.error, 0) << shippedTips();
  EXPECT_FALSE(file.truncated);
  EXPECT_GE(file.tips.size(), 30u);
  for (const Tip& tip : file.tips) EXPECT_GT(tip.helpContext, 0) << tip.text;
}

// A tip that says a pattern finds a word is checked on the default dictionary.
TEST(TipsFile, ShippedExamplesFindWhatTheySay) {
  const auto dictionary =
      std::filesystem::path(QEL_CLI_PATH).parent_path() / "Dictionaries" / "Devuduvodi.qcd";
  if (!std::filesystem::exists(dictionary)) GTEST_SKIP() << "the default dictionary is not built";
  const TipsFile file = readTipsFile(shippedTips().string());
  const std::regex claim("\"([^\"]+)\" finds \"([^\"]+)\"");
  int checked = 0;
  for (const Tip& tip : file.tips) {
    for (std::sregex_iterator it(tip.text.begin(), tip.text.end(), claim), end; it != end; ++it) {
      const std::string pattern = (*it)[1], word = (*it)[2];
      const auto run = test::runCli(
          {"search", "--no-annotations", "--no-balances", pattern, dictionary.string()});
      std::istringstream lines(run.out);
      bool found = false;
      for (std::string line; std::getline(lines, line);) found = found || line == word;
      EXPECT_TRUE(found) << "\"" << pattern << "\" should find \"" << word << "\": " << run.err;
      ++checked;
    }
  }
  EXPECT_GE(checked, 15);
}

}  // namespace
}  // namespace qel
