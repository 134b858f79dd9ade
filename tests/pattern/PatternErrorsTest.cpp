// Every parser error index, for typical patterns, and which error wins when there are several.
#include <gtest/gtest.h>

#include <string>

#include "PatternTestSupport.h"
#include "app/Messages.h"
#include "pattern/MatchEngineSet.h"

namespace qel {
namespace {

struct ErrorCase {
  std::string pattern;
  int error;
};

std::string repeat(const std::string& s, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += s;
  return out;
}

std::string distinctChoiceLists(int n) {
  std::string out;
  for (char a = 'a'; a <= 'z' && n > 0; ++a) {
    for (char b = static_cast<char>(a + 1); b <= 'z' && n > 0; ++b, --n)
      out += std::string("[") + a + b + "]";
  }
  return out;
}

TEST(PatternErrors, EachErrorIndexForTypicalPatterns) {
  const ErrorCase cases[] = {
      {"abc", 0},
      {"abc\\.", 0},
      {";ab c", 0},
      {repeat("(", 31) + "a" + repeat(")", 31), 0},    // nested sub-patterns
      {repeat("(", 31) + "a|b" + repeat(")", 31), 0},  // nested groups
      {repeat("a", 40), 0},
      // 1: nothing to match.
      {"", 1},
      {"    ", 1},
      {"&", 1},
      {"abc&", 1},
      {"()", 1},
      {"-", 1},
      {"(|)", 1},
      // 2: a choice list ending on something other than "]".
      {"(ab[cd)ef", 2},
      {"[a-b]", 2},
      {"[a.]", 2},
      {"[a1]", 2},
      // 3: the letter-set table overflows.
      {";" + distinctChoiceLists(257), 3},
      // 4: too many positions, too deep, too many anagram elements.
      {repeat("a", 51), 4},
      {";" + repeat("a", 51), 4},
      {"x(" + repeat(".", 51) + ")", 4},
      {repeat("(", 70) + "a" + repeat(")", 70), 4},
      {"a;" + repeat("b", 101), 4},
      // 5: a choice list running into the end.
      {"abc[de", 5},
      {"[", 5},
      {"[^", 5},
      // 6: a second ";".
      {";ab;c", 6},
      {"x(;a;b)", 6},
      // 7: unfinished sub-patterns and groups, groups nested too deep.
      {"(abc", 7},
      {"ab(cd", 7},
      {"(a^", 7},
      {repeat("(", 32) + "a|b" + repeat(")", 32), 7},
      {";a(b", 7},
      // 8: a ")" that closes nothing.
      {"abc)", 8},
      {"abc)d", 8},
      {"a|b)", 8},
      {"(a))", 8},
      // 9: a "]" outside a choice list.
      {"ab]c", 9},
      {";ab]", 9},
      // 11: anything else in an anagram part.
      {";ab-c", 11},
      {";a!b", 11},
      {";a\\-b", 11},
      // 12: a "^" outside a choice list.
      {"a^b", 12},
      // 13: a backslash with nothing after it.
      {"abc\\", 13},
      {"[a\\", 13},
      {";ab\\", 13},
      // 14: an empty choice list.
      {"[]", 14},
      {"[^]", 14},
      {"a[]b", 14},
      {";[]", 14},
  };
  for (const ErrorCase& c : cases) {
    SCOPED_TRACE(c.pattern);
    MatchEngineSet set;
    EXPECT_EQ(test::parseInto(set, c.pattern), c.error);
    EXPECT_EQ(set.errorIndex(), c.error);
  }
}

TEST(PatternErrors, FirstOffendingConstructWins) {
  const ErrorCase cases[] = {
      {"a^b]", 12},                          // reading order
      {repeat("a", 51) + "^", 12},           // length is judged at the end of the body
      {";[]x;", 6},                          // sub-pattern pass before choice lists
      {";-[]", 14},                          // choice lists before other characters
      {";(a]b)[]", 9},                       // an error inside an anagram's sub-pattern first
      {"a^ & b]", 12},                       // the earliest pattern's error
      {"b] & (a", 7},                        // group errors win over compile errors
      {"abc) & [", 8},
  };
  for (const ErrorCase& c : cases) {
    SCOPED_TRACE(c.pattern);
    MatchEngineSet set;
    EXPECT_EQ(test::parseInto(set, c.pattern), c.error);
  }
}

TEST(PatternErrors, EveryIndexHasItsMessage) {
  EXPECT_EQ(messageText(kPatternErrorMessages + 0),
            "Pattern is valid - press the return key to start searching");
  EXPECT_EQ(messageText(kPatternErrorMessages + 13),
            "Follow \\ by the character you want to match exactly");
  for (int index = 0; index <= 14; ++index)
    EXPECT_FALSE(messageText(kPatternErrorMessages + index).empty()) << index;
  EXPECT_EQ(messageText(13010), "Patterns match incompatible lengths");
  EXPECT_EQ(messageText(6670), "Use Open... on the File menu to select a dictionary");
  EXPECT_TRUE(messageText(13095).empty());
}

TEST(PatternErrors, FailedSetMatchesNothingAndFreshSetEverything) {
  MatchEngineSet set;
  EXPECT_TRUE(test::accepts(set, "anything"));
  ASSERT_EQ(test::parseInto(set, "ab]"), 9);
  EXPECT_FALSE(test::accepts(set, "ab"));
  MatchEngine engine;
  EXPECT_FALSE(engine.valid());
  EXPECT_EQ(engine.errorIndex(), 1);
}

}  // namespace
}  // namespace qel
