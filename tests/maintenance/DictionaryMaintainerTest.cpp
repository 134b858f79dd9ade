// Results saved as a dictionary: each result's entry and annotation become a source line, the
// balance or context is no part of the word, and a cancelled build leaves the target whole.
#include <gtest/gtest.h>

#include <filesystem>

#include "dictionary/CommonnessRanks.h"
#include "dictionary/QCDictionaryList.h"
#include "maintenance/DictionaryMaintainer.h"
#include "maintenance/FoldTable.h"
#include "maintenance/MergeInputs.h"
#include "maintenance/SourceLine.h"
#include "search/ResultList.h"
#include "support/TestDictionaries.h"

namespace qel {
namespace {

using Texts = std::vector<std::string>;

using test::folderContents;

TEST(DictionaryMaintainer, SourceLinesKeepTheEntryAndAnnotationApartAndLeaveOutTheRest) {
  ResultList results;
  results.add("rock:n+roll", " (music)", " +ab", 0);   // an entry the line syntax must escape
  results.add("tail", "", " +x", 0);                   // a balance, no annotation
  results.add("a\\b;c|d", " x+y:z", "", 0);            // escapes in the annotation too
  results.add("spark", "", " ...a spark of life", 7);  // a full-text result's context
  Texts lines;
  for (long i = 0; i < results.count(); ++i) lines.push_back(resultSourceLine(*results.record(i)));
  EXPECT_EQ(lines, (Texts{"rock\\:n\\+roll+(music)+\n", "tail\n", "a\\\\b\\;c\\|d+x\\+y\\:z+\n",
                          "spark\n"}));
  // The builder reads each line back as one entry with the result's word and annotation.
  const build::ByteTable canonical = build::canonicalLetters(lowerCaseFoldTable());
  const Texts words = {"rock:n+roll", "tail", "a\\b;c|d", "spark"};
  const Texts annotations = {"\n(music)", "", "\nx+y:z", ""};
  for (size_t i = 0; i < lines.size(); ++i) {
    build::SourceLine line;
    line.parse(lines[i], canonical);
    ASSERT_EQ(line.fields().size(), 1u) << lines[i];
    const build::SourceField& f = line.fields()[0];
    EXPECT_EQ(line.word(f), words[i]);
    EXPECT_EQ(line.entryText(f).substr(f.wordEnd - f.begin), annotations[i]);
    EXPECT_FALSE(line.hasBody());
  }
}

// A dictionary of the list that is not valid gives no alphabet: nothing is written.
TEST(DictionaryMaintainer, AnInvalidDictionaryGivesNoAlphabetAndNothingIsWritten) {
  test::TempDir dir;
  const std::string source = dir.file("source.qcd");
  test::writeFile(source, "not a dictionary");
  QCDictionaryList list(std::vector<std::string>{source});
  ResultList results;
  results.add("word", "", "", 0);
  DictionaryMaintainer maintainer(results, list, 1, 31);
  maintainer.setState(DictionaryMaintainer::State::kSaving);
  EXPECT_FALSE(maintainer.save(dir.file("saved.qcd"), "", 0));
  EXPECT_EQ(maintainer.log(), "\"" + source +
                                  "\" is not a valid dictionary - Its contents are not those of "
                                  "a dictionary.\n");
  EXPECT_EQ(folderContents(dir.path()), Texts{"source.qcd"});
}

// The dialog's Cancel sets the state back: the build stops at its next line or entry, whether the
// results are being read or the file written, and the target keeps what it held.
// A dictionary opened from a target's backup ("words.bak" for "words.qcd") would be overwritten by
// the target's old contents once the save succeeded.
// Results saved as a dictionary, and a dictionary merged, keep their entries' ranks; a save of
// results from an unranked dictionary leaves no ranks beside the target, not even old ones.
TEST(DictionaryMaintainer, SavedAndMergedEntriesKeepTheirRanks) {
  test::TempDir dir;
  const std::string source = dir.file("words.qcd");
  ASSERT_TRUE(test::buildTestDictionary(source, {"older", "words", "newer"}));
  CommonnessRanks ranks;
  ranks.set("older", 20);
  ranks.set("newer", 70);
  ASSERT_TRUE(ranks.saveFor(source).ok());
  using Ranks = std::vector<std::pair<std::string, uint8_t>>;
  const auto ranksBeside = [&](const std::string& path) {
    CommonnessRanks read;
    EXPECT_TRUE(read.loadFor(path).ok());
    return read.all();
  };

  const std::string saved = dir.file("saved.qcd");
  QCDictionaryList list(std::vector<std::string>{source});
  ResultList results;
  results.add("older", "", "", 0);
  results.add("words", "", "", 0);
  DictionaryMaintainer maintainer(results, list, 1, 31);
  maintainer.setState(DictionaryMaintainer::State::kSaving);
  ASSERT_TRUE(maintainer.save(saved, "", 0)) << maintainer.log();
  EXPECT_EQ(ranksBeside(saved), (Ranks{{"older", 20}}));

  WordListMerge merge(WordListMerge::Duplicates::kKeepFirst);
  CommonnessRanks merged;
  ASSERT_TRUE(mergeDictionary(merge, source, {}, &merged).ok());
  EXPECT_EQ(merged.all(), (Ranks{{"newer", 70}, {"older", 20}}));

  std::filesystem::remove(CommonnessRanks::pathFor(source));
  QCDictionaryList unranked(std::vector<std::string>{source});
  DictionaryMaintainer again(results, unranked, 1, 31);
  again.setState(DictionaryMaintainer::State::kSaving);
  ASSERT_TRUE(again.save(saved, "", 0)) << again.log();
  EXPECT_FALSE(std::filesystem::exists(CommonnessRanks::pathFor(saved)));
}

TEST(DictionaryMaintainer, TheSourceIsNeverTheTargetsBackup) {
  test::TempDir dir;
  const std::string source = dir.file("words.bak");
  const std::string target = dir.file("words.qcd");
  ASSERT_TRUE(test::buildTestDictionary(source, {"older", "words"}));
  ASSERT_TRUE(test::buildTestDictionary(target, {"newer"}));
  const std::string sourceBytes = test::readFile(source);
  const std::string targetBytes = test::readFile(target);
  QCDictionaryList list(std::vector<std::string>{source});
  ResultList results;
  results.add("older", "", "", 0);
  DictionaryMaintainer maintainer(results, list, 1, 31);
  maintainer.setState(DictionaryMaintainer::State::kSaving);
  EXPECT_FALSE(maintainer.save(target, "", 0));
  EXPECT_NE(maintainer.log().find("would be replaced"), std::string::npos);
  EXPECT_EQ(test::readFile(source), sourceBytes);
  EXPECT_EQ(test::readFile(target), targetBytes);
  EXPECT_EQ(folderContents(dir.path()), (Texts{"words.bak", "words.qcd"}));
}

TEST(DictionaryMaintainer, CancelStopsTheBuildAndKeepsTheTarget) {
  test::TempDir dir;
  const std::string target = dir.file("target.qcd");
  ASSERT_TRUE(test::buildTestDictionary(target, {"old"}));
  const std::string before = test::readFile(target);
  QCDictionaryList list(std::vector<std::string>{target});
  ResultList results;
  for (int i = 0; i < 20000; ++i) results.add("word" + std::to_string(i), "", "", 0);
  for (const int cancelAtYield : {1, 6}) {  // while lines are read; while entries are written
    SCOPED_TRACE(cancelAtYield);
    DictionaryMaintainer maintainer(results, list, 1, 31);
    int yields = 0;
    maintainer.setYield([&] {
      if (++yields == cancelAtYield) maintainer.setState(DictionaryMaintainer::State::kReady);
    });
    maintainer.setState(DictionaryMaintainer::State::kSaving);
    EXPECT_FALSE(maintainer.save(target, "", 0));
    EXPECT_EQ(maintainer.log().substr(maintainer.log().size() - 30),
              "Dictionary creation abandoned\n");
    EXPECT_EQ(test::readFile(target), before);
    EXPECT_EQ(folderContents(dir.path()), Texts{"target.qcd"});
  }
}

}  // namespace
}  // namespace qel
