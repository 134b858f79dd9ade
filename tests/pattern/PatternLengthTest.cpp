// Fixed and maximum lengths, the choice of matcher, and the length range and check of a set.
#include <gtest/gtest.h>

#include <string>

#include "PatternTestSupport.h"
#include "app/Messages.h"
#include "pattern/MatchEngine.h"
#include "pattern/MatchEngineSet.h"

namespace qel {
namespace {

using pattern::MatcherKind;

MatchEngine compiled(const std::string& pattern) {
  MatchEngine engine;
  engine.compile(test::latinAlphabet(), pattern);
  return engine;
}

TEST(PatternLength, FixedAndMaximumLengthsAndMatcherChoice) {
  const struct {
    const char* pattern;
    int fixed;
    int maximum;
    MatcherKind kind;
  } cases[] = {{"abcde", 5, 5, MatcherKind::Template},
               {"ab.de", 5, 5, MatcherKind::Template},
               {"ab[cx]de", 5, 5, MatcherKind::ChoiceRun},
               {"[^aeiou]a[rt]", 3, 3, MatcherKind::ChoiceRun},
               {"ab1de", 5, 5, MatcherKind::VariableTemplate},
               {"12341234", 8, 8, MatcherKind::VariableTemplate},
               {".1.1", 4, 4, MatcherKind::VariableTemplate},
               {" 1221 ", 4, 4, MatcherKind::VariableTemplate},
               {"1*1", 2, 32, MatcherKind::General},
               {"[ab]11", 3, 3, MatcherKind::General},
               {"1-1", 2, 2, MatcherKind::General},
               {"\\a11", 3, 3, MatcherKind::General},
               {"(1)1", 2, 2, MatcherKind::VariableTemplate},  // brackets that change nothing
               {"(1)-1", 2, 2, MatcherKind::General},
               {"11;ab", 2, 2, MatcherKind::General},
               {"1;1", 1, 1, MatcherKind::General},
               {"*", 0, 32, MatcherKind::Affix},
               {"m*ja", 3, 32, MatcherKind::Affix},
               {"*ing", 3, 32, MatcherKind::Affix},
               {"a*b*c", 3, 32, MatcherKind::General},
               {"m*j\\a", 3, 32, MatcherKind::General},
               {";lobikes", 7, 7, MatcherKind::AnagramOnce},
               {";aab", 3, 3, MatcherKind::AnagramCounted},
               {";ab.", 3, 3, MatcherKind::AnagramBlanks},
               {";ab*", 2, 32, MatcherKind::General},
               {"......*;gdangboot", 6, 9, MatcherKind::General},
               {"*;abc", 0, 3, MatcherKind::General},
               {"a(b*)c", 3, 32, MatcherKind::Affix},
               {"a(b*)c-", 3, 32, MatcherKind::General}};
  for (const auto& c : cases) {
    const MatchEngine engine = compiled(c.pattern);
    ASSERT_TRUE(engine.valid()) << c.pattern;
    EXPECT_EQ(engine.fixedLength(), c.fixed) << c.pattern;
    EXPECT_EQ(engine.patternMaximum(), c.maximum) << c.pattern;
    EXPECT_EQ(engine.matcherKind(), c.kind) << c.pattern;
  }
}

TEST(PatternLength, OuterSpacesChangeNothingInnerSpacesAreRequired) {
  EXPECT_EQ(compiled("\\ abc\\ ").compiled().program, compiled("abc").compiled().program);
  EXPECT_EQ(compiled("( a-b)c ").compiled().program, compiled("(a-b)c").compiled().program);
  EXPECT_TRUE(test::matches("a b", "a b"));
  EXPECT_FALSE(test::matches("a b", "ab"));
  // An escaped space in front of an anagram part must not hide the anagram.
  EXPECT_FALSE(test::matches("\\ ;abc", "xyz"));
}

TEST(PatternLength, RangesOfSetsAndTheCheckBeforeASearch) {
  const struct {
    std::string pattern;
    int shortest;
    int longest;
    LengthProblem problem;
    int first;
    int last;
  } cases[] = {
      {"abcde", 10, 31, LengthProblem::kShortestLongestStopPattern, 32, 0},
      {"abcde & abcdef", 1, 31, LengthProblem::kIncompatibleLengths, 32, 0},
      {std::string(40, 'a'), 1, 31, LengthProblem::kIncompatibleLengths, 32, 0},
      {"abc | abcdef", 1, 31, LengthProblem::kNone, 3, 6},  // 4 and 5 pass nothing but stay inside
      {"......*;gdangboot", 1, 31, LengthProblem::kNone, 6, 9},
      {"*", 0, 99, LengthProblem::kNone, 1, 31},  // Shortest and Longest are clamped into 1..31
      {"m*ja", 5, 8, LengthProblem::kNone, 5, 8},
      // A negated pattern or group counts with its own lengths, bracketed or not...
      {"!abc", 1, 31, LengthProblem::kNone, 3, 3},
      {"(!abc)", 1, 31, LengthProblem::kNone, 3, 3},
      {"!abc|xyzzy", 1, 31, LengthProblem::kNone, 3, 5},
      {"abc | !abcde", 1, 31, LengthProblem::kNone, 3, 5},
      {"!(abc|xyz)", 1, 31, LengthProblem::kNone, 3, 3},
      {"!(abc|wxyz)", 1, 31, LengthProblem::kNone, 3, 4},
      {"(!abc|abcdef) & *", 1, 31, LengthProblem::kNone, 3, 6},
      // ...except beside "&", where it does not narrow the other side.
      {"abcde & !abcdef", 1, 31, LengthProblem::kNone, 5, 5},
      {"!abcdef & abcde", 1, 31, LengthProblem::kNone, 5, 5},
      {"abcde & !(abc|abcdef)", 1, 31, LengthProblem::kNone, 5, 5},
      {"(abcde & !abcdef) | ab", 1, 31, LengthProblem::kNone, 2, 5}};
  for (const auto& c : cases) {
    MatchEngineSet set;
    ASSERT_EQ(set.parse(test::latinAlphabet(), c.pattern, c.shortest, c.longest),
              pattern::PatternError::kValid);
    const LengthCheck check = set.lengthCheck();
    EXPECT_EQ(check.problem, c.problem) << c.pattern;
    EXPECT_EQ(check.range.first, c.first) << c.pattern;
    EXPECT_EQ(check.range.last, c.last) << c.pattern;
  }
}

TEST(PatternLength, LengthsOutsideTheRangeNeverMatch) {
  MatchEngineSet set;
  ASSERT_EQ(test::parseInto(set, "!abc"), 0);
  EXPECT_FALSE(set.setCurrentLength(4));
  EXPECT_TRUE(set.setCurrentLength(3));
  EXPECT_TRUE(test::accepts(set, "abd"));
  EXPECT_FALSE(test::accepts(set, "abc"));
  EXPECT_FALSE(test::accepts(set, "abcd"));
  ASSERT_EQ(test::parseInto(set, "*"), 0);
  EXPECT_TRUE(test::accepts(set, std::string(31, 'a')));
  EXPECT_FALSE(test::accepts(set, std::string(32, 'a')));
  ASSERT_EQ(set.parse(test::latinAlphabet(), "m*ja", 1, 7), pattern::PatternError::kValid);
  EXPECT_FALSE(test::accepts(set, "maharaja"));
}

}  // namespace
}  // namespace qel
