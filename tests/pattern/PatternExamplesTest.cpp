// The Quick Reference examples find the words they are there to show, with their balances.
#include <gtest/gtest.h>

#include "PatternTestSupport.h"
#include "pattern/MacroExpansion.h"
#include "pattern/MatchEngineSet.h"

namespace qel {
namespace {

using test::accepts;
using test::matches;
using test::parseInto;

struct Example {
  const char* pattern;
  const char* word;
  const char* balance;  // balance text with the prefix " "
};

TEST(PatternExamples, QuickReferenceExamplesFindTheirWords) {
  const Example examples[] = {
      {".l...r.n", "electron", ""},
      {";lobikes", "obelisk", ""},
      {"m*ja", "maharaja", ""},
      {";diners[ai]", "sardine", ""},
      {"......*;gdangboot", "toboggan", " -d"},
      {"12341234", "beriberi", ""},
      {"...-..-.....", "fly-by-night", ""},
      {";..oting & ! *ing", "tonight", ""},
      {";rebel(ada)", "readable", ""},
      {";..oting", "tonight", " +ht"},
  };
  for (const Example& e : examples) {
    SCOPED_TRACE(e.pattern);
    MatchEngineSet set;
    ASSERT_EQ(parseInto(set, e.pattern), 0);
    ASSERT_EQ(set.lengthCheck().problem, LengthProblem::kNone);
    const int length = static_cast<int>(test::lettersOf(e.word).size()) - 1;
    EXPECT_TRUE(set.setCurrentLength(length));
    EXPECT_TRUE(accepts(set, e.word));
    EXPECT_EQ(set.balanceText(" "), e.balance);
  }
}

TEST(PatternExamples, MacroExampleFindsImaginative) {
  const std::string expanded =
      *expandMacros("@#@#@#@#@#@", kDefaultAtExpansion, kDefaultHashExpansion);
  EXPECT_TRUE(matches(expanded, "imaginative"));
  EXPECT_FALSE(matches(expanded, "imaginatvie"));
}

TEST(PatternMacros, ExpansionsEscapesAndEmptySettings) {
  EXPECT_EQ(expandMacros("b@t", "[aeiou]", "[^aeiou]"), "b[aeiou]t");
  EXPECT_EQ(expandMacros("#@", "@#", "#@"), "#@@#");  // inserted text is not expanded again
  EXPECT_EQ(expandMacros("b\\@t", "[aeiou]", ""), "b\\@t");
  EXPECT_EQ(expandMacros("b@t#", "", ""), "b@t#");
  EXPECT_EQ(expandMacros("ab\\", "x", "y"), "ab\\");

  const std::string vowel = *expandMacros("b@t", kDefaultAtExpansion, kDefaultHashExpansion);
  EXPECT_TRUE(matches(vowel, "bat"));
  EXPECT_FALSE(matches(vowel, "bxt"));
  // An escaped "@", or one whose expansion is empty, is punctuation.
  EXPECT_TRUE(matches(*expandMacros("b\\@t", kDefaultAtExpansion, ""), "b@t"));
  EXPECT_TRUE(matches(*expandMacros("b@t", "", ""), "b@t"));
  EXPECT_FALSE(matches(*expandMacros("b@t", "", ""), "bt"));
}

// Expansions multiply the text: a result past the limit is refused, not built.
TEST(PatternMacros, ExpansionBeyondTheLimitIsRefused) {
  const std::string manyLists(14000 * 6, 'a');
  EXPECT_FALSE(expandMacros(std::string(10000, '@'), manyLists, "").has_value());
  EXPECT_TRUE(expandMacros(std::string(5000, '@'), "[aeiou]", "").has_value());
  EXPECT_FALSE(expandMacros(std::string(kMaxExpandedPattern + 1, 'a'), "", "").has_value());
}

}  // namespace
}  // namespace qel
