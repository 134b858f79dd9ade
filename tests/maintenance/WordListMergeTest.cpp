// Merging word lists and dictionaries: duplicates by folded letters or by spelling, the sorted
// source lines they give, and real files in and a real dictionary out.
#include <gtest/gtest.h>
#include <unistd.h>

#include "dictionary/DefinitionsOfWord.h"
#include "dictionary/QCDictionaryList.h"
#include "maintenance/MergeInputs.h"
#include "maintenance/WordListMerge.h"
#include "support/TestDictionaries.h"

namespace qel {
namespace {

using Lines = std::vector<std::string>;

TEST(WordListMerge, KeepsTheFirstSpellingOfEachFoldedWordWithEveryDefinition) {
  WordListMerge merge(WordListMerge::Duplicates::kKeepFirst);
  merge.beginInput("first");
  merge.addSourceLine("Apple");
  merge.addSourceLine("zebra|a striped horse");
  merge.addSourceLine("123");  // no letter
  merge.beginInput("second");
  merge.addSourceLine("apple+noun+|a fruit");
  merge.addSourceLine("A.P.P.L.E.|a fruit");  // the same definition again
  merge.addSourceLine("\xE9lan:elan|flair\r");
  merge.add("ZEBRA", "", "an animal\nof Africa\n");

  EXPECT_EQ(merge.sourceLines(), (Lines{"Apple|a fruit", "\xE9lan|flair", "zebra|a striped horse",
                                        "zebra|an animal of Africa"}));
  ASSERT_EQ(merge.counts().size(), 2u);
  const auto& first = merge.counts()[0];
  EXPECT_EQ(first.name, "first");
  EXPECT_EQ((Lines{std::to_string(first.entries), std::to_string(first.added),
                   std::to_string(first.duplicates), std::to_string(first.skipped)}),
            (Lines{"3", "2", "0", "1"}));
  const auto& second = merge.counts()[1];
  EXPECT_EQ((Lines{std::to_string(second.entries), std::to_string(second.added),
                   std::to_string(second.duplicates), std::to_string(second.skipped)}),
            (Lines{"5", "1", "4", "0"}));
}

TEST(WordListMerge, KeepsEverySpellingButNotExactRepeatsAndSortsLikeADictionary) {
  WordListMerge merge(WordListMerge::Duplicates::kKeepEverySpelling);
  for (const char* line :
       {"tail:tails|rear", "Tail", "tail", "tail+verb+", "ant-eater", "Ant", "a\\:b", "aunt"}) {
    merge.addSourceLine(line);
  }
  EXPECT_EQ(merge.size(), 8u);
  EXPECT_EQ(merge.sourceLines(), (Lines{"a\\:b", "Ant", "ant-eater", "aunt", "Tail", "tail|rear",
                                        "tail+verb+", "tails|rear"}));
}

// A dictionary brings its entries with annotations and definitions; a text list in code page 1252
// and one in UTF-8 with a line it cannot hold join them; the merged lines build a dictionary in
// which every word and definition reads back.
TEST(WordListMerge, FilesInADictionaryOut) {
  test::TempDir dir;
  const std::string dictionary = dir.file("in.qcd");
  ASSERT_TRUE(test::buildTestDictionary(
      dictionary, {"bird+noun+|a creature with feathers", "tail:tails|the rear part", "fly"}));
  test::writeFile(dir.file("list.txt"), "caf\xC3\xA9\nsnow\xE2\x98\x83\nBIRD\nwren\n");
  test::writeFile(dir.file("old.txt"), "caf\xE9|a coffee house\n");

  WordListMerge merge(WordListMerge::Duplicates::kKeepFirst);
  long progressCalls = 0;
  const MergeProgress progress = [&](double done) {
    EXPECT_GE(done, 0.0);
    EXPECT_LE(done, 1.0);
    ++progressCalls;
    return true;
  };
  EXPECT_TRUE(looksLikeDictionary(dictionary));
  EXPECT_FALSE(looksLikeDictionary(dir.file("list.txt")));
  ASSERT_TRUE(mergeDictionary(merge, dictionary, progress).ok());
  ASSERT_TRUE(mergeTextFile(merge, dir.file("list.txt"), true, progress).ok());
  ASSERT_TRUE(mergeTextFile(merge, dir.file("old.txt"), false, progress).ok());

  EXPECT_EQ(merge.sourceLines(),
            (Lines{"bird+noun+|a creature with feathers", "caf\xE9|a coffee house", "fly",
                   "tail|the rear part", "tails|the rear part", "wren"}));
  EXPECT_EQ(merge.counts()[0].added, 4);
  EXPECT_EQ(merge.counts()[1].skipped, 1);     // the snowman
  EXPECT_EQ(merge.counts()[1].duplicates, 1);  // BIRD
  EXPECT_EQ(merge.counts()[2].duplicates, 1);  // café again, with a definition

  const std::string merged = dir.file("merged.qcd");
  ASSERT_TRUE(test::buildTestDictionary(merged, merge.sourceLines()));
  QCDictionaryList list(std::vector<std::string>{merged});
  std::vector<Definition> definitions;
  definitionsOfWord(list, "cafe", definitions);
  ASSERT_EQ(definitions.size(), 1u);
  EXPECT_EQ(definitions[0].body, "a coffee house");

  const Status notADictionary = mergeDictionary(merge, dir.file("list.txt"), progress);
  EXPECT_EQ(notADictionary.code(), Status::Code::kInvalid);
  EXPECT_NE(notADictionary.reason().find("is not a valid dictionary"), std::string::npos);
  const Status missing = mergeTextFile(merge, dir.file("missing.txt"), true, progress);
  EXPECT_EQ(missing.code(), Status::Code::kNotFound);
  EXPECT_NE(missing.reason().find("missing.txt"), std::string::npos) << missing.reason();
}

TEST(WordListMerge, ProgressCanCancelALongList) {
  test::TempDir dir;
  std::string text;
  for (int i = 0; i < 20000; ++i) text += "w" + std::to_string(i) + "x\n";
  test::writeFile(dir.file("long.txt"), text);
  WordListMerge merge(WordListMerge::Duplicates::kKeepFirst);
  const Status cancelled =
      mergeTextFile(merge, dir.file("long.txt"), true, [](double) { return false; });
  EXPECT_EQ(cancelled.code(), Status::Code::kCancelled);
  EXPECT_EQ(cancelled.reason(), "Merge cancelled");
  EXPECT_LT(merge.size(), 20000u);
}

// A result meant for a dictionary leaves out what no dictionary holds, so that its counts are what
// the dictionary then holds; the reasons are kept for the log. A text result keeps such entries.
TEST(WordListMerge, CountsAreWhatTheResultHolds) {
  const std::string longWord(40, 'x');
  const std::string longNote = "ox+" + std::string(900, 'n') + "+";
  for (const auto holds :
       {WordListMerge::Holds::kDictionaryEntries, WordListMerge::Holds::kAnyEntry}) {
    WordListMerge merge(WordListMerge::Duplicates::kKeepFirst, holds);
    merge.beginInput("list");
    for (const std::string& line : {std::string("apple"), longWord, longNote, std::string("123"),
                                    std::string("pear:") + longWord})
      merge.addSourceLine(line);
    merge.skipLine("not UTF-8 text");
    const auto& counts = merge.counts()[0];
    using Reasons = std::vector<std::pair<std::string, long>>;
    if (holds == WordListMerge::Holds::kAnyEntry) {
      EXPECT_EQ(counts.added, 4);
      EXPECT_EQ(counts.skippedFor, (Reasons{{"no letter", 1}, {"not UTF-8 text", 1}}));
      continue;
    }
    EXPECT_EQ(counts.added, 2);
    EXPECT_EQ(counts.skipped, 5);
    EXPECT_EQ(counts.skippedFor, (Reasons{{"more than 31 letters, which no dictionary holds", 2},
                                          {"too long for a dictionary entry", 1},
                                          {"no letter", 1},
                                          {"not UTF-8 text", 1}}));
    test::TempDir dir;
    const std::string built = dir.file("merged.qcd");
    ASSERT_TRUE(test::buildTestDictionary(built, merge.sourceLines()));
    EXPECT_EQ(test::entryTexts(built).size(), static_cast<size_t>(counts.added));
  }
}

// A file without a line end is one line, read in pieces: progress comes with every piece, Cancel
// works within the line, and read to its end the line is skipped for its length.
TEST(WordListMerge, AFileWithoutLineEndsIsReadInPieces) {
  test::TempDir dir;
  const std::string path = dir.file("one-line.txt");
  test::writeFile(path, "");
  ASSERT_EQ(truncate(path.c_str(), 48 << 20), 0);  // sparse: no disk used
  for (const int cancelAt : {0, 3}) {
    WordListMerge merge(WordListMerge::Duplicates::kKeepFirst);
    int calls = 0;
    const Status read =
        mergeTextFile(merge, path, true, [&](double) { return ++calls != cancelAt; });
    if (cancelAt) {
      EXPECT_EQ(read.code(), Status::Code::kCancelled);
      EXPECT_EQ(calls, cancelAt);
      continue;
    }
    ASSERT_TRUE(read.ok()) << read.reason();
    EXPECT_GE(calls, 48);
    EXPECT_EQ(merge.counts()[0].skippedFor,
              (std::vector<std::pair<std::string, long>>{{"longer than 65536 bytes", 1}}));
  }
}

}  // namespace
}  // namespace qel
