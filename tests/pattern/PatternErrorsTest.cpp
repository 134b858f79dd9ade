// Every parser error index for typical patterns, which error wins when there are several, and
// the message texts.
#include <gtest/gtest.h>

#include <string>

#include "PatternTestSupport.h"
#include "app/Messages.h"
#include "pattern/MatchEngineSet.h"

namespace qel {
namespace {

using test::repeat;

std::string distinctChoiceLists(int n) {
  std::string out;
  for (char a = 'a'; a <= 'z'; ++a) {
    for (char b = static_cast<char>(a + 1); b <= 'z' && n-- > 0;) out += {'[', a, b++, ']'};
  }
  return out;
}

TEST(PatternErrors, EachErrorIndexInReadingOrder) {
  const struct {
    std::string pattern;
    int error;
  } cases[] = {
      // Valid, including 31 nested sub-patterns and 31 nested groups.
      {"abc\\.", 0},
      {";ab c", 0},
      {repeat("(", 31) + "a" + repeat(")", 31), 0},
      {repeat("(", 31) + "a|b" + repeat(")", 31), 0},
      {repeat("a", 40), 0},
      // Nothing to match.
      {"", 1},
      {"    ", 1},
      {"&", 1},
      {"abc&", 1},
      {"()", 1},
      {"-", 1},
      {"(|)", 1},
      // Choice lists: a bad character, a full table, running into the end, empty.
      {"(ab[cd)ef", 2},
      {"[a-b]", 2},
      {"[a.]", 2},
      {"[a1]", 2},
      {";" + distinctChoiceLists(257), 3},
      // A set of more patterns than it may join.
      {repeat("a&", 256) + "a", 3},
      {repeat("a|", 255) + "a", 0},
      {"abc[de", 5},
      {"[", 5},
      {"[^", 5},
      {"[]", 14},
      {"[^]", 14},
      {"a[]b", 14},
      {";[]", 14},
      // Too long: positions, nesting, anagram elements.
      {repeat("a", 51), 4},
      {";" + repeat("a", 51), 4},
      {"x(" + repeat(".", 51) + ")", 4},
      {repeat("(", 70) + "a" + repeat(")", 70), 4},
      {"a;" + repeat("b", 101), 4},
      // Brackets: a second ";", unfinished, groups too deep, closing nothing, stray "]" and "^".
      {";ab;c", 6},
      {"x(;a;b)", 6},
      {"(abc", 7},
      {"ab(cd", 7},
      {";a(b", 7},
      {repeat("(", 32) + "a|b" + repeat(")", 32), 7},
      {"abc)", 8},
      {"a|b)", 8},
      {"(a))", 8},
      {"ab]c", 9},
      {";ab]", 9},
      {";ab-c", 11},
      {";a!b", 11},
      {";a\\-b", 11},
      {"a^b", 12},
      // A backslash with nothing after it.
      {"abc\\", 13},
      {"[a\\", 13},
      {";ab\\", 13},
      // The first offending construct wins: reading order, length judged at the end of a body,
      // an anagram's sub-patterns before its choice lists before its other characters, the
      // earliest pattern, and group errors before all.
      {"a^b]", 12},
      {repeat("a", 51) + "^", 12},
      {";[]x;", 6},
      {";-[]", 14},
      {";(a]b)[]", 9},
      {"a^ & b]", 12},
      {"b] & (a", 7},
      {"abc) & [", 8}};
  for (const auto& c : cases) {
    MatchEngineSet set;
    EXPECT_EQ(test::parseInto(set, c.pattern), c.error) << c.pattern;
    EXPECT_EQ(pattern::errorIndex(set.error()), c.error) << c.pattern;
  }
}

TEST(PatternErrors, EveryIndexHasItsMessage) {
  EXPECT_EQ(messageText(messageNumber(pattern::PatternError::kValid)),
            "Pattern is valid - press the return key to start searching");
  EXPECT_EQ(messageText(messageNumber(pattern::PatternError::kBackslashAtEnd)),
            "Follow \\ by the character you want to match exactly");
  for (int index = 0; index <= 14; ++index)
    EXPECT_FALSE(messageText(messageNumber(static_cast<pattern::PatternError>(index))).empty())
        << index;
  EXPECT_EQ(messageText(13010), "Patterns match incompatible lengths");
  EXPECT_EQ(messageText(6670), "Use Open... on the File menu to select a dictionary");
  EXPECT_TRUE(messageText(13095).empty());
}

TEST(PatternErrors, FailedSetMatchesNothingAndFreshSetEverything) {
  MatchEngineSet set;
  EXPECT_TRUE(test::accepts(set, "anything"));
  ASSERT_EQ(test::parseInto(set, "ab]"), 9);
  EXPECT_FALSE(test::accepts(set, "ab"));
  EXPECT_EQ(MatchEngine().error(), pattern::PatternError::kNothingToMatch);
}

}  // namespace
}  // namespace qel
