// Commonness ranks from qel-cli build --ranks to search --sort common, --max-rank and --ranks: the
// ranks read back exactly, the companion file goes with its dictionary, and a dictionary without
// one searches exactly as before.
#include <gtest/gtest.h>

#include <filesystem>

#include "dictionary/CommonnessRanks.h"
#include "support/CliRun.h"
#include "support/TestDictionaries.h"

namespace qel {
namespace {

using test::runCli;

class CliRanks : public ::testing::Test {
 protected:
  void SetUp() override {
    test::writeFile(source, "tail\ntoil\ntall\ntoll\ncaf\xC3\xA9\ntea\nt\xC3\xA9t\xC3\xA9\n");
    test::writeFile(ranksText,
                    "toll\t20\n"
                    "caf\xC3\xA9\t10\n"
                    "tail\t5\n"
                    "tail\t50\n"  // a second rank: the commoner stays
                    "\n"
                    "tall\tseven\n"
                    "\t3\n"
                    "toil\t101\n");
  }
  std::vector<std::string> lines(const std::vector<std::string>& args) {
    const test::CliRun r = runCli(args);
    EXPECT_EQ(r.status, 0) << r.err;
    std::vector<std::string> out;
    for (size_t start = 0, end; (end = r.out.find('\n', start)) != std::string::npos; start = end + 1)
      out.push_back(r.out.substr(start, end - start));
    return out;
  }

  test::TempDir dir;
  const std::string source = dir.file("words.txt");
  const std::string ranksText = dir.file("ranks.txt");
  const std::string dict = dir.file("words.qcd");
};

TEST_F(CliRanks, BuildKeepsThemBesideTheDictionaryAndSearchUsesThem) {
  const test::CliRun built = runCli({"build", "--ranks", ranksText, source, dict});
  ASSERT_EQ(built.status, 0) << built.err;
  for (const char* line : {"ranks line 6:", "ranks line 7:", "ranks line 8:"})
    EXPECT_NE(built.err.find(line), std::string::npos) << built.err;

  CommonnessRanks ranks;
  ASSERT_TRUE(ranks.loadFor(dict).ok());
  EXPECT_EQ(ranks.all(), (std::vector<std::pair<std::string, uint8_t>>{
                             {"caf\xE9", 10}, {"tail", 5}, {"toll", 20}}));
  EXPECT_EQ(ranks.rankOf("tall"), CommonnessRanks::kRarest);

  // Within each length group the common words come first; words of one rank keep their order.
  EXPECT_EQ(lines({"search", "--sort", "common", "--entries-only", "t*", dict}),
            (std::vector<std::string>{"tea", "tail", "toll", "tall", "t\xC3\xA9t\xC3\xA9", "toil"}));
  EXPECT_EQ(lines({"search", "--sort=common", "--no-group", "--entries-only", "t*", dict}),
            (std::vector<std::string>{"tail", "toll", "tall", "tea", "t\xC3\xA9t\xC3\xA9", "toil"}));
  EXPECT_EQ(lines({"search", "--max-rank", "20", "--ranks", "*", dict}),
            (std::vector<std::string>{"caf\xC3\xA9\t10", "tail\t5", "toll\t20"}));
  // "common" is a pattern when no dictionary follows it.
  EXPECT_EQ(runCli({"search", "--sort", "common", dict}).status, 1);
}

// Saved again and read back, the ranks are the same; a build without --ranks takes the old
// dictionary's ranks away with it, and the dictionary searches as any other.
TEST_F(CliRanks, RoundTripAndABuildWithoutRanks) {
  ASSERT_EQ(runCli({"build", "--ranks", ranksText, source, dict}).status, 0);
  CommonnessRanks ranks;
  ASSERT_TRUE(ranks.loadFor(dict).ok());
  ranks.set("tea", 40);
  const std::string copy = dir.file("copy.qcd");
  ASSERT_TRUE(ranks.save(CommonnessRanks::pathFor(copy)).ok());
  CommonnessRanks again;
  ASSERT_TRUE(again.loadFor(copy).ok());
  EXPECT_EQ(again.all(), ranks.all());

  ASSERT_EQ(runCli({"build", source, dict}).status, 0);
  EXPECT_FALSE(std::filesystem::exists(CommonnessRanks::pathFor(dict)));
  EXPECT_EQ(lines({"search", "--sort", "common", "--ranks", "--entries-only", "ta*", dict}),
            (std::vector<std::string>{"tail\t100", "tall\t100"}));

  test::writeFile(CommonnessRanks::pathFor(dict), "not a ranks file");
  const test::CliRun damaged = runCli({"search", "--sort", "common", "t*", dict});
  EXPECT_EQ(damaged.status, 2);
  EXPECT_NE(damaged.err.find("not a ranks file"), std::string::npos);
  EXPECT_EQ(runCli({"search", "t*", dict}).status, 0);  // unless asked for, ranks are not read
}

// Phrase anagrams of common words come first: a combination ranks as its rarest word.
TEST_F(CliRanks, CommonPhraseAnagramsFirst) {
  test::writeFile(source, "dirty\nroom\nmoor\ndormitory\n");
  test::writeFile(ranksText, "dirty\t35\nroom\t10\nmoor\t70\ndormitory\t50\n");
  ASSERT_EQ(runCli({"build", "--ranks", ranksText, source, dict}).status, 0);
  EXPECT_EQ(lines({"anagrams", "dormitory", dict}),
            (std::vector<std::string>{"dirty room", "dormitory", "dirty moor"}));
}

}  // namespace
}  // namespace qel
