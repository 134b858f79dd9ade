// Merging word lists and dictionaries: duplicates by folded letters or by spelling, the sorted
// source lines they give, and real files in and a real dictionary out.
#include <gtest/gtest.h>

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
  std::string error;
  long progressCalls = 0;
  const MergeProgress progress = [&](double done) {
    EXPECT_GE(done, 0.0);
    EXPECT_LE(done, 1.0);
    ++progressCalls;
    return true;
  };
  EXPECT_TRUE(looksLikeDictionary(dictionary));
  EXPECT_FALSE(looksLikeDictionary(dir.file("list.txt")));
  ASSERT_TRUE(mergeDictionary(merge, dictionary, progress, error)) << error;
  ASSERT_TRUE(mergeTextFile(merge, dir.file("list.txt"), true, progress, error)) << error;
  ASSERT_TRUE(mergeTextFile(merge, dir.file("old.txt"), false, progress, error)) << error;

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

  EXPECT_FALSE(mergeDictionary(merge, dir.file("list.txt"), progress, error));
  EXPECT_NE(error.find("is not a valid dictionary"), std::string::npos) << error;
  EXPECT_FALSE(mergeTextFile(merge, dir.file("missing.txt"), true, progress, error));
  EXPECT_NE(error.find("missing.txt"), std::string::npos) << error;
}

TEST(WordListMerge, ProgressCanCancelALongList) {
  test::TempDir dir;
  std::string text;
  for (int i = 0; i < 20000; ++i) text += "w" + std::to_string(i) + "x\n";
  test::writeFile(dir.file("long.txt"), text);
  WordListMerge merge(WordListMerge::Duplicates::kKeepFirst);
  std::string error;
  EXPECT_FALSE(mergeTextFile(
      merge, dir.file("long.txt"), true, [](double) { return false; }, error));
  EXPECT_EQ(error, "Merge cancelled");
  EXPECT_LT(merge.size(), 20000u);
}

}  // namespace
}  // namespace qel
