// Phrase anagrams on a small dictionary: the exact combinations for each option, the limit, what
// is refused, and a search run in the smallest slices finding what one run finds.
#include <gtest/gtest.h>

#include <algorithm>

#include "dictionary/QCDictionaryList.h"
#include "search/PhraseAnagramSearch.h"
#include "support/TestDictionaries.h"

namespace qel {
namespace {

using Lines = std::vector<std::string>;

// The default settings with `change` made to them.
template <typename Change>
PhraseAnagramSettings with(Change change) {
  PhraseAnagramSettings s;
  change(s);
  return s;
}

class PhraseAnagramSearchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path = dir.file("words.qcd");
    ASSERT_TRUE(test::buildTestDictionary(
        path, {"dormitory", "dirty", "Dirty",      "room",   "moor",      "tory",  "dim",
               "rim",       "rot",   "or",         "do",     "my",        "it",    "i",
               "no",        "on",    "dirty room", "dim-or", "zoo apple", "apple", "zoo"}));
  }

  // Runs a search in steps of `work`; the lines found, sorted, and how it ended.
  Lines search(const std::string& letters, const PhraseAnagramSettings& settings,
               long work = PhraseAnagramSearch::kStepWork) {
    QCDictionaryList list(path);
    PhraseAnagramSearch s(list, 0);
    Lines lines;
    s.setSink([&](std::span<const std::string_view> words) {
      std::string line;
      for (std::string_view w : words) line.append(line.empty() ? "" : " ").append(w);
      lines.push_back(line);
    });
    const auto v = s.start(letters, settings);
    problem = v.problem;
    if (v.problem != PhraseAnagramSearch::Problem::kNone) return {};
    while (s.step(work)) {
    }
    ending = s.ending();
    EXPECT_EQ(s.found(), static_cast<long>(lines.size()));
    std::sort(lines.begin(), lines.end());
    return lines;
  }

  test::TempDir dir;
  std::string path;
  PhraseAnagramSearch::Problem problem = PhraseAnagramSearch::Problem::kNone;
  PhraseAnagramSearch::Ending ending = PhraseAnagramSearch::Ending::kComplete;
};

TEST_F(PhraseAnagramSearchTest, EachOptionGivesExactlyItsCombinations) {
  const struct {
    const char* letters;
    PhraseAnagramSettings settings;
    Lines expected;
  } cases[] = {
      {"Dormitory!",
       {},
       {"dim or tory", "Dirty moor", "Dirty room", "dirty moor", "dirty room", "do rim tory",
        "dormitory"}},
      {"dirty room", with([](auto& s) { s.words = 1; }), {"dormitory"}},
      {"dormitory",
       with([](auto& s) { s.shortest = 4; }),
       {"Dirty moor", "Dirty room", "dirty moor", "dirty room", "dormitory"}},
      {"dormitory", with([](auto& s) { s.contains = {"tory"}; }), {"dim or tory", "do rim tory"}},
      // Words to contain count among the words; they need not be entries.
      {"dormitory",
       with([](auto& s) {
         s.contains = {"riot", "dormy"};
         s.words = 2;
       }),
       {"dormy riot"}},
      {"dormitory", with([](auto& s) { s.pattern = "d*"; }), {"dormitory"}},
      {"dormitory",
       with([](auto& s) { s.pattern = "d* | ...."; }),
       {"Dirty moor", "Dirty room", "dirty moor", "dirty room", "dormitory"}},
      // A phrase is listed once where its words, one by one, make the same line.
      {"dormitory",
       with([](auto& s) {
         s.phrases = true;
         s.words = 2;
       }),
       {"Dirty moor", "Dirty room", "dim-or tory", "dirty moor", "dirty room", "dormitory"}},
      {"apple zoo", with([](auto& s) { s.phrases = true; }), {"apple zoo", "zoo apple"}},
      // An entry may come more than once; each set of entries is listed once.
      {"nonono", {}, {"no no no", "no no on", "no on on", "on on on"}},
      {"onions", {}, {}},
  };
  for (const auto& c : cases) {
    Lines expected = c.expected;
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(search(c.letters, c.settings), expected) << c.letters;
    EXPECT_EQ(problem, PhraseAnagramSearch::Problem::kNone) << c.letters;
  }
}

TEST_F(PhraseAnagramSearchTest, SearchInSlicesFindsWhatOneRunFinds) {
  PhraseAnagramSettings s;
  s.words = 4;
  const Lines whole = search("dormitory dormitory", s, 1'000'000'000);
  EXPECT_GT(whole.size(), 10u);
  EXPECT_EQ(search("dormitory dormitory", s, 1), whole);
}

TEST_F(PhraseAnagramSearchTest, LimitStopsTheSearchAndSaysSo) {
  PhraseAnagramSettings s;
  s.limit = 4;
  EXPECT_EQ(search("nonono", s).size(), 4u);
  EXPECT_EQ(ending, PhraseAnagramSearch::Ending::kComplete);  // no fifth one
  s.limit = 3;
  EXPECT_EQ(search("nonono", s).size(), 3u);
  EXPECT_EQ(ending, PhraseAnagramSearch::Ending::kLimitReached);
}

TEST_F(PhraseAnagramSearchTest, WhatCannotBeSearchedIsRefused) {
  using P = PhraseAnagramSearch::Problem;
  const struct {
    const char* letters;
    PhraseAnagramSettings settings;
    P problem;
  } cases[] = {
      {"-- 42 --", {}, P::kNoLetters},
      {"dormitory", with([](auto& s) { s.contains = {"zoo"}; }), P::kNotInLetters},
      {"dormitory", with([](auto& s) {
         s.contains = {"dory", "it", "rom"};
         s.words = 2;
       }),
       P::kTooManyContained},
      {"dormitory", with([](auto& s) { s.contains = {"!"}; }), P::kContainedEmpty},
      {"dormitory", with([](auto& s) { s.pattern = "d;;o"; }), P::kPattern},
      {"dormitory", with([](auto& s) { s.words = 7; }), P::kOutOfRange},
  };
  for (const auto& c : cases) {
    search(c.letters, c.settings);
    EXPECT_EQ(problem, c.problem) << c.letters;
  }
}

}  // namespace
}  // namespace qel
