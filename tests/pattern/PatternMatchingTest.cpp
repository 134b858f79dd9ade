// Matching rules: punctuation and the end check, exact characters, letter variables, wildcards,
// sub-patterns, templates combined with anagram parts, and anagram balances.
#include <gtest/gtest.h>

#include <string>

#include "PatternTestSupport.h"
#include "pattern/MatchEngineSet.h"

namespace qel {
namespace {

struct MatchCase {
  const char* pattern;
  const char* word;
  bool expected;
};

TEST(PatternMatching, RulesOfEachConstruct) {
  const MatchCase cases[] = {
      // Punctuation stands where the pattern puts it, and nothing follows the last element.
      {"...-..-.....", "fly-by-night", true},
      {"...-..-.....", "flyby-night", false},
      {"...-..-.....", "fly-by-night!", false},
      {"...-..-.....", "fly-by night", false},
      {"ab-c", "a'b-c", false},
      {"*a-b", "xa-b", true},
      {"*'s", "cat's", true},
      {"*'s", "cats", false},
      {"ab!", "ab!", true},
      {"ab!", "ab", false},
      {"a\\&b", "a&b", true},
      // Without punctuation the entry's non-letters do not count; wildcards pass them.
      {"..........", "fly-by-night", true},
      {"*-*", "fly-by-night", true},
      {"*-*", "flybynight", false},
      {".c*", "O'Casey's", true},
      {"..*'s", "O'Casey's", false},
      // An escaped letter wants that very character; a plain one any case or accent.
      {"\\Abc", "Abc", true},
      {"\\Abc", "abc", false},
      {"\\Abc",
       "\xC0"
       "bc",
       false},
      {"abc",
       "\xC0"
       "BC",
       true},
      {"x\\Ay", "x-Ay", true},
      {";\\abc", "cab", true},
      // Letter variables stand for one letter, shared by template and anagram part.
      {"12341234", "beriberi", true},
      {"1221", "abba", true},
      {"1212", "aaaa", false},
      {"a1A1", "aaaa", true},  // a variable may stand for a letter the pattern names
      {"1.0.1", "rotor", true},
      {"1.0.1", "level", true},
      {"1.1", "eve", true},
      {"1.1", "eek", false},
      {"1B21", "Abca", true},
      {"1..;1ab", "bab", true},
      {"1..;1ab", "abb", false},
      {";11ab", "abcc", true},
      {";11ab", "abcd", false},
      {"1(.1)", "aba", true},
      {"1(.1)", "abc", false},
      // Wildcards, choice lists and sub-patterns.
      {"m*ja", "mja", true},
      {"m*ja", "majas", false},
      {"m*ja", "maharaja", true},
      {"*", "x", true},
      {"un*", "un", true},
      {"un*", "nun", false},
      {"*ing", "ing", true},
      {"*ing", "tonight", false},
      {".n*.g", "angling", true},
      {".n*.g", "ngg", false},
      {"*a*b*c*", "cba", false},
      {"[^aeiou]at", "cat", true},
      {"[^aeiou]at", "eat", false},
      {"a(bc)d", "abxd", false},
      {"a(b*)c", "abxxc", true},
      {"a(b*)c", "axbc", false},
      {"(a*)(b*)", "aaa", false},
      {"(;ab)c", "bac", true},
      {"(;ab)c", "bbc", false},
      {"*(;abc)", "xcabx", false},
      {"a(b-c)-d", "ab-c-d", true},
      {"a(b-c)-d", "ab-cd", false},
      // Anagram parts, alone and with templates shorter or longer than themselves.
      {";diners[ai]", "sordine", false},
      {";rebel(ada)", "deerball", false},
      {"...;abcde", "bad", true},
      {"...;abcde", "dad", false},
      {"......;abc", "cxbxax", true},
      {"......;abc", "cxbxxx", false},
      {"*;abc", "ab", true},
      {"*;abc", "abb", false},
      {";abc*", "abxcz", true},
      {";(ab)(ab)", "abba", false},
      {";(a*)b", "baaa", true},
      {";(a*)b", "bcaa", false},
      {";(a*)(a*)", "bbaa", false},
      {";(.*)(.*)z", "aaaa", false},
      {";11*", "nnc", true},
      {"a;b", "a", false}};
  for (const MatchCase& c : cases)
    EXPECT_EQ(test::matches(c.pattern, c.word), c.expected) << c.pattern << " / " << c.word;
}

TEST(PatternMatching, ExclusiveVariablesCanBeSwitchedOff) {
  auto matchesShared = [](const char* pattern, const char* word) {
    MatchEngineSet set;
    return set.parse(test::latinAlphabet(), pattern, 1, 31, false) ==
               pattern::PatternError::kValid &&
           test::accepts(set, word);
  };
  EXPECT_TRUE(matchesShared("1212", "aaaa"));
  EXPECT_TRUE(matchesShared(";1122", "aaaa"));
  EXPECT_FALSE(test::matches(";1122", "aaaa"));
}

TEST(PatternMatching, BalanceShowsOnlyForOnePatternWithOneAnagram) {
  const struct {
    const char* pattern;
    const char* word;
    const char* balance;
  } cases[] = {
      {";..oting", "tooting", "+ot"}, {"*;abcd", "cab", "-d"},
      {"*;abcd", "dab", "-c"},        {";..oting & *", "tonight", ""},  // two patterns
      {";lobikes", "obelisk", ""},  // the fast matcher leaves none
      {";.(ab)", "abc", ""},        // only plain letters make a balance
  };
  for (const auto& c : cases) {
    MatchEngineSet set;
    ASSERT_EQ(test::parseInto(set, c.pattern), 0);
    ASSERT_TRUE(test::accepts(set, c.word)) << c.pattern;
    EXPECT_EQ(set.balanceText(""), c.balance) << c.pattern;
  }
}

}  // namespace
}  // namespace qel
