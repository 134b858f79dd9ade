// Commonness ranks from qel-cli build --ranks to search --sort common, --max-rank and --ranks: the
// ranks read back exactly, the companion file goes with its dictionary, and a dictionary without
// one searches exactly as before.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>

#define XXH_INLINE_ALL
#include <xxhash.h>

#include "dictionary/CommonnessRanks.h"
#include "dictionary/DictionaryFingerprint.h"
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
    for (size_t start = 0, end; (end = r.out.find('\n', start)) != std::string::npos;
         start = end + 1)
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
  EXPECT_EQ(
      lines({"search", "--sort", "common", "--entries-only", "t*", dict}),
      (std::vector<std::string>{"tea", "tail", "toll", "tall", "t\xC3\xA9t\xC3\xA9", "toil"}));
  EXPECT_EQ(
      lines({"search", "--sort=common", "--no-group", "--entries-only", "t*", dict}),
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
  std::filesystem::copy_file(dict, copy);
  ASSERT_TRUE(ranks.saveFor(copy).ok());
  CommonnessRanks again;
  ASSERT_TRUE(again.loadFor(copy).ok());
  EXPECT_EQ(again.all(), ranks.all());

  ASSERT_EQ(runCli({"build", source, dict}).status, 0);
  EXPECT_FALSE(std::filesystem::exists(CommonnessRanks::pathFor(dict)));
  EXPECT_EQ(lines({"search", "--sort", "common", "--ranks", "--entries-only", "ta*", dict}),
            (std::vector<std::string>{"tail\t100", "tall\t100"}));

  // Damaged ranks: an error where they are asked for, named; passed over where they are not, in
  // a search and in phrase anagrams alike.
  test::writeFile(CommonnessRanks::pathFor(dict), "not a ranks file");
  const test::CliRun damaged = runCli({"search", "--sort", "common", "t*", dict});
  EXPECT_EQ(damaged.status, 2);
  EXPECT_NE(damaged.err.find("not a ranks file"), std::string::npos);
  EXPECT_NE(damaged.err.find(CommonnessRanks::pathFor(dict)), std::string::npos) << damaged.err;
  EXPECT_EQ(runCli({"search", "t*", dict}).status, 0);  // unless asked for, ranks are not read
  const test::CliRun anagrams = runCli({"anagrams", "tail", dict});
  EXPECT_EQ(anagrams.status, 0) << anagrams.err;
  EXPECT_NE(anagrams.err.find(CommonnessRanks::pathFor(dict)), std::string::npos) << anagrams.err;
}

// Ranks belong to the dictionary they were written with, copies included: the ranks of an earlier
// build beside a new dictionary are never used, and a build that cannot write its ranks (the file
// system full, here the largest file it may write) leaves the old pair as it was.
TEST_F(CliRanks, RanksGoWithTheirOwnDictionaryOnly) {
  namespace fs = std::filesystem;
  ASSERT_EQ(runCli({"build", "--ranks", ranksText, source, dict}).status, 0);
  const std::string copy = dir.file("copy.qcd");
  fs::copy_file(dict, copy);
  fs::copy_file(CommonnessRanks::pathFor(dict), CommonnessRanks::pathFor(copy));
  const std::vector<std::string> common = {"caf\xC3\xA9", "tail", "toll"};
  EXPECT_EQ(lines({"search", "--max-rank", "20", "--entries-only", "*", copy}), common);

  // Many ranks for few words: the ranks file is far larger than the dictionary.
  std::string manyRanks;
  for (int i = 0; i < 20000; ++i) manyRanks += "word" + std::to_string(i) + "\t30\n";
  test::writeFile(ranksText, manyRanks + "tea\t1\n");
  test::writeFile(source, "tea\ntoast\n");
  const std::string dictionaryBefore = test::readFile(dict);
  const std::string ranksBefore = test::readFile(CommonnessRanks::pathFor(dict));
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{64 * 1024, 64 * 1024};
    setrlimit(RLIMIT_FSIZE, &limit);
    _exit(runCli({"build", "--ranks", ranksText, source, dict}).status);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 2);
  EXPECT_EQ(test::readFile(dict), dictionaryBefore);
  EXPECT_EQ(test::readFile(CommonnessRanks::pathFor(dict)), ranksBefore);
  EXPECT_EQ(test::folderContents(dir.path()).size(), 6u);  // no temporary left

  // A new dictionary beside the old one's ranks, as a build stopped between its two files leaves
  // it: the ranks are refused where asked for and passed over elsewhere.
  ASSERT_EQ(runCli({"build", source, copy}).status, 0);
  fs::copy_file(copy, dict, fs::copy_options::overwrite_existing);
  const test::CliRun foreign = runCli({"search", "--sort", "common", "t*", dict});
  EXPECT_EQ(foreign.status, 2);
  EXPECT_NE(foreign.err.find("belong to another dictionary"), std::string::npos) << foreign.err;
  EXPECT_EQ(lines({"search", "--entries-only", "t*", dict}),
            (std::vector<std::string>{"tea", "toast"}));
}

// A crafted table, every slot taken: a lookup reads at most kMaxProbe slots, so an entry placed
// further from its own slot than any writer places one is not found, and no lookup walks the
// table. A table fuller than a writer leaves one is refused.
TEST_F(CliRanks, LookupsOfACraftedFullTableAreBounded) {
  ASSERT_EQ(runCli({"build", source, dict}).status, 0);
  DictionaryFingerprint tie;
  ASSERT_TRUE(fingerprintOf(dict, tie));
  constexpr uint32_t kSlots = 1 << 16;
  const auto table = [&](uint32_t entries,
                         const std::vector<std::pair<std::string, uint32_t>>& placed) {
    std::string bytes(32 + size_t{kSlots} * 16, '\0');
    auto put = [&bytes](size_t at, uint64_t v, int width) {
      for (int k = 0; k < width; ++k) bytes[at + k] = static_cast<char>(v >> (8 * k));
    };
    bytes.replace(0, 4, "QCR2");
    put(4, kSlots, 4);
    put(8, entries, 4);
    put(12, 8, 4);  // the texts: "tealtoll"
    put(16, tie.size, 8);
    put(24, tie.headChecksum, 8);
    for (uint32_t i = 0; i < kSlots; ++i) {
      put(32 + size_t{i} * 16, 0x5A5A, 8);  // a hash no lookup meets
      put(32 + size_t{i} * 16 + 8, 1, 4);
      put(32 + size_t{i} * 16 + 12, 3, 2);
      bytes[32 + size_t{i} * 16 + 14] = 50;
    }
    for (const auto& [entry, distance] : placed) {
      const uint64_t hash = XXH3_64bits(entry.data(), entry.size());
      const size_t slot = (static_cast<uint32_t>(hash) + distance) & (kSlots - 1);
      put(32 + slot * 16, hash, 8);
      put(32 + slot * 16 + 12, entry.size(), 2);
      bytes[32 + slot * 16 + 14] = 7;
    }
    return bytes + "tealtoll";
  };
  test::writeFile(CommonnessRanks::pathFor(dict), table(2, {{"tea", CommonnessRanks::kMaxProbe - 1},
                                                            {"toll", CommonnessRanks::kMaxProbe}}));
  CommonnessRanks ranks;
  ASSERT_TRUE(ranks.loadFor(dict).ok());
  EXPECT_EQ(ranks.rankOf("tea"), 7);
  EXPECT_EQ(ranks.rankOf("toll"), CommonnessRanks::kRarest);
  EXPECT_EQ(ranks.rankOf("absent"), CommonnessRanks::kRarest);
  EXPECT_EQ(lines({"search", "--sort", "common", "--entries-only", "t*", dict}).front(), "tea");

  test::writeFile(CommonnessRanks::pathFor(dict), table(kSlots, {}));
  EXPECT_FALSE(ranks.loadFor(dict).ok());
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
