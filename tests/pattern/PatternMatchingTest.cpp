// Matching rules: punctuation and the end check, exact characters, letter variables, wildcards,
// sub-patterns, and templates combined with anagram parts.
#include <gtest/gtest.h>

#include <string>

#include "PatternTestSupport.h"
#include "pattern/MatchEngineSet.h"
#include "pattern/MatchOptions.h"

namespace qel {
namespace {

using test::matches;

struct MatchCase {
  const char* pattern;
  const char* word;
  bool expected;
};

void expectAll(const MatchCase* begin, const MatchCase* end) {
  for (const MatchCase* c = begin; c != end; ++c) {
    EXPECT_EQ(matches(c->pattern, c->word), c->expected) << c->pattern << " / " << c->word;
  }
}

TEST(PatternMatching, PunctuationMustStandWhereThePatternPutsIt) {
  const MatchCase cases[] = {
      {"...-..-.....", "fly-by-night", true},
      {"...-..-.....", "flyby-night", false},
      {"...-..-.....", "fly-by-night!", false},  // the end check
      {"...-..-.....", "fly-by night", false},
      {"..........", "fly-by-night", true},  // no punctuation in the pattern: ignored
      {"*-*", "fly-by-night", true},         // wildcards pass non-letters
      {"*-*", "flybynight", false},
      {"fly*", "fly-by-night", true},
      {"*'s", "cat's", true},
      {"*'s", "cats", false},
      {"ab!", "ab!", true},  // "!" after a letter is punctuation
      {"ab!", "ab", false},
      {"a\\.b", "a.b", true},
      {"abc\\.", "abc.", true},
      {"abc\\.", "abc", false},
      {"a&b", "ab", false},  // two patterns, "a" and "b": no length fits both
      {"a\\&b", "a&b", true},
  };
  expectAll(std::begin(cases), std::end(cases));
}

TEST(PatternMatching, EscapedLetterWantsThatExactCharacter) {
  const MatchCase cases[] = {
      {"\\Abc", "Abc", true},
      {"\\Abc", "abc", false},
      {"\\Abc", "\xC0" "bc", false},  // A grave folds to a but is not "A"
      {"abc", "ABC", true},
      {"abc", "\xC0" "bc", true},
      {"x\\Ay", "x-Ay", true},  // the letter's own character, past the entry's hyphen
      {"x\\Ay", "x-ay", false},
      {";\\abc", "cab", true},  // in an anagram an escaped letter is just the letter
  };
  expectAll(std::begin(cases), std::end(cases));
}

TEST(PatternMatching, LetterVariablesStandForOneLetterThroughoutTheMatch) {
  const MatchCase cases[] = {
      {"12341234", "beriberi", true},
      {"12341234", "beribera", false},
      {"1221", "abba", true},
      {"1212", "aaaa", false},  // exclusive: 1 and 2 differ
      {"1..;1ab", "bab", true},  // bound in the template, counted in the anagram part
      {"1..;1ab", "abb", false},
      {";11ab", "abcc", true},
      {";11ab", "abcd", false},
      {"1(.1)", "aba", true},
      {"1(.1)", "abc", false},
  };
  expectAll(std::begin(cases), std::end(cases));
  setExclusiveLetterVariables(false);
  EXPECT_TRUE(matches("1212", "aaaa"));
  EXPECT_TRUE(matches(";1122", "aaaa"));
  setExclusiveLetterVariables(true);
  EXPECT_FALSE(matches(";1122", "aaaa"));
}

TEST(PatternMatching, WildcardsChoiceListsAndSubPatterns) {
  const MatchCase cases[] = {
      {"m*ja", "maharaja", true},
      {"m*ja", "mja", true},
      {"m*ja", "majas", false},
      {"*a*b*c*", "xaybzc", true},
      {"*a*b*c*", "cba", false},
      {"[^aeiou]at", "cat", true},
      {"[^aeiou]at", "eat", false},
      {"[aeiou][aeiou]", "ea", true},
      {"a(bc)d", "abcd", true},
      {"a(bc)d", "abxd", false},
      {"a(b*)c", "abxxc", true},
      {"a(b*)c", "abc", true},
      {"a(b*)c", "axbc", false},
      {"(a*)(b*)", "aaab", true},
      {"(a*)(b*)", "aaa", false},
      {"(;ab)c", "bac", true},
      {"(;ab)c", "bbc", false},
      {"*(;abc)", "xxcab", true},
      {"*(;abc)", "xcabx", false},
  };
  expectAll(std::begin(cases), std::end(cases));
}

TEST(PatternMatching, AnagramPartsTogetherWithTemplates) {
  const MatchCase cases[] = {
      {";diners[ai]", "sardine", true},
      {";diners[ai]", "sordine", false},
      {";rebel(ada)", "readable", true},
      {";rebel(ada)", "deerball", false},  // "ada" is not a run of it
      {"...;abcde", "bad", true},           // a shorter template: letters out of the anagram
      {"...;abcde", "bat", false},
      {"...;abcde", "dad", false},
      {"......;abc", "cxbxax", true},  // a longer template: the anagram's letters must be in it
      {"......;abc", "cxbxxx", false},
      {"*;abc", "cab", true},
      {"*;abc", "ab", true},
      {"*;abc", "abb", false},
      {";abc*", "abxcz", true},
      {";abc*", "abxz", false},
      {";(ab)(ab)", "abab", true},
      {";(ab)(ab)", "abba", false},
      {";(a*)b", "aaab", true},
      {";(a*)b", "baaa", true},
      {";(a*)b", "bcaa", false},
      {";1[ab]c", "cab", true},
  };
  expectAll(std::begin(cases), std::end(cases));
}

TEST(PatternMatching, BalanceShowsOnlyForOnePatternWithOneAnagram) {
  MatchEngineSet set;
  ASSERT_EQ(test::parseInto(set, ";..oting"), 0);
  ASSERT_TRUE(test::accepts(set, "tonight"));
  EXPECT_EQ(set.balanceText(" "), " +ht");
  ASSERT_TRUE(test::accepts(set, "tooting"));  // the match-alls took an o and a t
  EXPECT_EQ(set.balanceText(""), "+ot");

  ASSERT_EQ(test::parseInto(set, ";..oting & *"), 0);
  ASSERT_TRUE(test::accepts(set, "tonight"));
  EXPECT_EQ(set.balanceText(" "), "");

  ASSERT_EQ(test::parseInto(set, ";lobikes"), 0);  // the fast matcher leaves no balance
  ASSERT_TRUE(test::accepts(set, "obelisk"));
  EXPECT_EQ(set.balanceText(" "), "");

  ASSERT_EQ(test::parseInto(set, "*;abcd"), 0);
  ASSERT_TRUE(test::accepts(set, "cab"));
  EXPECT_EQ(set.balanceText(" "), " -d");
  ASSERT_TRUE(test::accepts(set, "dab"));
  EXPECT_EQ(set.balanceText(" "), " -c");
}

}  // namespace
}  // namespace qel
