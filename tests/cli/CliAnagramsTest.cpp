// qel-cli anagrams: UTF-8 in and out, and the exit status and message of each way it can end.
#include <gtest/gtest.h>

#include "support/CliRun.h"
#include "support/TestDictionaries.h"

namespace qel {
namespace {

TEST(CliAnagrams, PrintsCombinationsAndSaysHowItEnded) {
  test::TempDir dir;
  const std::string dict = dir.file("words.qcd");
  ASSERT_TRUE(test::buildTestDictionary(dict, {"caf\xE9", "face", "no", "on"}));
  const struct {
    std::vector<std::string> args;
    int status;
    std::string out, err;
  } cases[] = {
      {{"--words", "1",
        "F\xC3\x89"
        "ac!"},
       cli::kFound,
       "caf\xC3\xA9\nface\n",
       ""},
      {{"--contains", "no", "--words", "2", "noon"}, cli::kFound, "no no\nno on\n", ""},
      {{"--limit", "1", "noon"},
       cli::kFound,
       "no no\n",
       "qel-cli anagrams: there are more than 1 combination: the search was stopped\n"},
      {{"nooz"},
       cli::kNothingFound,
       "",
       "qel-cli anagrams: no words of " + dict + " make up exactly these letters\n"},
      {{"--contains", "zz", "noon"},
       cli::kNothingFound,
       "",
       "qel-cli anagrams: \"zz\" is not in the letters\n"},
      {{"--", "--"}, cli::kError, "", "qel-cli anagrams: there are no letters to rearrange\n"},
      {{"--words", "7", "noon"},
       cli::kError,
       "",
       "qel-cli anagrams: --words is a number from 1 to 6\n"},
      {{"--pattern", "n;;", "noon"},
       cli::kError,
       "",
       "words: Only one ; is allowed in a pattern\n"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args = {"anagrams", "--no-cache"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    args.push_back(dict);
    const test::CliRun r = test::runCli(args);
    EXPECT_EQ(r.status, c.status) << c.args.back();
    EXPECT_EQ(r.out, c.out) << c.args.back();
    EXPECT_EQ(r.err, c.err) << c.args.back();
  }
  EXPECT_EQ(test::runCli({"anagrams", "noon"}).status, cli::kError);  // no DICT
}

}  // namespace
}  // namespace qel
