// Headings, order, history and highlights of the definition windows.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "definitions/DefinitionHighlights.h"
#include "definitions/DefinitionHistory.h"
#include "definitions/DefinitionOrder.h"
#include "definitions/NaturalCompare.h"
#include "dictionary/Alphabet.h"
#include "pattern/MatchEngineSet.h"
#include "pattern/PatternTestSupport.h"

namespace qel {
namespace {

Definition headed(int dictionary, std::vector<std::pair<std::string, std::string>> pairs,
                  std::string path = "a.qcd") {
  Definition d;
  d.dictionaryNumber = dictionary;
  d.dictionaryPath = std::move(path);
  for (auto& [first, second] : pairs) {
    d.firstTexts.push_back(first);
    d.secondTexts.push_back(second);
  }
  d.entryText = d.firstTexts.empty() ? "" : d.firstTexts.front();
  return d;
}

TEST(NaturalCompare, NumbersByValueLettersFoldedOthersSkipped) {
  EXPECT_LT(naturalCompare("bank2", "bank10"), 0);
  EXPECT_GT(naturalCompare("bank 10", "bank9"), 0);
  EXPECT_EQ(naturalCompare("Tail-End", "tailend"), 0);
  EXPECT_EQ(naturalCompare("d\xE9j\xE0 vu", "DEJAVU"), 0);
  EXPECT_LT(naturalCompare("bank", "banks"), 0);
  EXPECT_GT(naturalCompare("banks", "bank"), 0);
  // A digit that is not a number's start compares as a character.
  EXPECT_NE(naturalCompare("a0", "a"), 0);
  int matched = -1;
  EXPECT_LT(naturalCompare("bank (noun 2)", "bank (verb 1)", &matched), 0);
  EXPECT_EQ(matched, 4);
  EXPECT_EQ(naturalCompare("bank2", "bank 2", &matched), 0);
  EXPECT_EQ(matched, 5);
  // A run of digits too long for any integer still compares and ends.
  EXPECT_EQ(naturalCompare(std::string(400, '9'), std::string(400, '9')), 0);
}

TEST(DefinitionOrder, BankTwoFromATextPrefersItsHeadingInTheDictionaryBeingRead) {
  std::vector<Definition> found = {
      headed(0, {{"bank", " (noun 1)"}}, "first.qcd"),
      headed(1, {{"bank", "1"}, {"bank", "2"}}, "second.qcd"),
      headed(1, {{"bank", "3"}}, "second.qcd"),
      headed(0, {{"banking", ""}}, "first.qcd"),
  };
  chooseHeadingPairs(found, "bank2");
  EXPECT_EQ(headingOf(found[1]), "bank 2");  // the second pair moved into first place
  EXPECT_EQ(found[1].firstTexts.size(), 2u);
  sortDefinitions(found);
  ASSERT_EQ(found.size(), 4u);
  EXPECT_EQ(headingOf(found[0]), "bank (noun 1)");
  EXPECT_EQ(headingOf(found[1]), "banking");
  EXPECT_EQ(headingOf(found[2]), "bank 2");
  EXPECT_EQ(initialDefinition(found, "bank2", "second.qcd"), 2);
  // From the first dictionary alone, the closest heading wins.
  EXPECT_EQ(initialDefinition(found, "bank2", ""), 0);
  EXPECT_EQ(initialDefinition({}, "bank", ""), -1);
  EXPECT_EQ(initialDefinition(found, "zebra", ""), -1);
}

TEST(DefinitionOrder, TheLastOfEqualHeadingsIsShownAndRecordsWithoutPairsUseTheirEntry) {
  Definition plain;
  plain.entryText = "obelisk";
  std::vector<Definition> found = {headed(0, {{"obelisk", ""}}), plain,
                                   headed(0, {{"obelus", ""}})};
  sortDefinitions(found);
  EXPECT_EQ(headingOf(found[1]), "obelisk");
  EXPECT_TRUE(found[1].firstTexts.empty());
  EXPECT_EQ(initialDefinition(found, "obelisk", ""), 1);
}

TEST(DefinitionHistory, ANewWordAfterBackDropsTheForwardEntries) {
  DefinitionHistory history;
  EXPECT_EQ(history.position(), 0);
  EXPECT_FALSE(history.canGoBack());
  for (const char* w : {"a", "b", "c"}) history.show(w);
  history.setPosition(1);
  EXPECT_TRUE(history.canGoForward());
  history.show("d");
  EXPECT_EQ(history.size(), 2);
  EXPECT_EQ(history.current(), "d");
  EXPECT_FALSE(history.canGoForward());
  EXPECT_TRUE(history.canGoBack());
}

TEST(DefinitionHistory, GoToListsTenEntriesAroundTheCurrentOne) {
  DefinitionHistory history;
  for (int i = 1; i <= 15; ++i) history.show("w" + std::to_string(i));
  history.setPosition(12);
  EXPECT_EQ(history.firstListed(), 6);
  EXPECT_EQ(history.listedCount(), 10);
  history.setPosition(3);
  EXPECT_EQ(history.firstListed(), 1);
  history.setPosition(15);
  EXPECT_EQ(history.firstListed(), 6);
  DefinitionHistory shortOne;
  for (int i = 1; i <= 4; ++i) shortOne.show("w");
  EXPECT_EQ(shortOne.firstListed(), 1);
  EXPECT_EQ(shortOne.listedCount(), 4);
  EXPECT_EQ(DefinitionHistory::menuText(0, "tail"), "&1 tail");
  EXPECT_EQ(DefinitionHistory::menuText(9, "tail"), "1&0 tail");
}

std::vector<std::string> highlighted(std::string_view text, const std::vector<TextRange>& ranges) {
  std::vector<std::string> words;
  for (const TextRange& r : ranges) words.emplace_back(text.substr(r.start, r.end - r.start));
  return words;
}

TEST(DefinitionHighlights, EverySpellingOfTheWordsLetters) {
  const std::string text = "A tail end, the Tail-End or tailend; not tailender nor detail end.";
  EXPECT_EQ(highlighted(text, wordHighlights(text, "tail-end")),
            (std::vector<std::string>{"tail end", "Tail-End", "tailend"}));
  EXPECT_TRUE(wordHighlights(text, "").empty());
  EXPECT_TRUE(wordHighlights("", "tail").empty());
  EXPECT_EQ(highlighted("x tail", wordHighlights("x tail", "TAIL")),
            std::vector<std::string>{"tail"});
}

TEST(DefinitionHighlights, FullTextWordsMatchedByAnyPatternOfTheSet) {
  const Alphabet& alphabet = test::latinAlphabet();
  MatchEngineSet patterns;
  ASSERT_EQ(patterns.parse(alphabet, "particle & charge*", 1, 31), pattern::PatternError::kValid);
  const std::string text = "A particle with charges, charged Particles; a particle's charge.";
  EXPECT_EQ(highlighted(text, fullTextHighlights(text, alphabet, patterns)),
            (std::vector<std::string>{"particle", "charges", "charged", "particle", "charge"}));
  const std::string longWord(40, 'a');
  EXPECT_TRUE(fullTextHighlights(longWord, alphabet, patterns).empty());
}

TEST(DefinitionLookupText, WordsAroundAPositionAndTheirNumbers) {
  const std::string text = "see bank2, or tail-end.";
  EXPECT_EQ(wordAround(text, 6), (TextRange{4, 9}));
  EXPECT_EQ(wordAround(text, 9), (TextRange{4, 9}));
  EXPECT_EQ(wordAround(text, 3), (TextRange{0, 3}));
  EXPECT_EQ(wordAround(text, 18), (TextRange{14, 18}));
  EXPECT_EQ(wordAround(", ", 1), (TextRange{1, 1}));
  EXPECT_EQ(wordAround(text, 99), TextRange{});
  EXPECT_EQ(splitNumberSuffix("bank2"), std::make_pair(std::string("bank"), std::string("2")));
  EXPECT_EQ(splitNumberSuffix("1984"), std::make_pair(std::string(""), std::string("1984")));
  EXPECT_EQ(splitNumberSuffix("bank"), std::make_pair(std::string("bank"), std::string("")));
}

}  // namespace
}  // namespace qel
