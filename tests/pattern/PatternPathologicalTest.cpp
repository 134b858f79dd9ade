// Patterns built to make a backtracking matcher explode finish: wildcard-heavy templates exactly
// (outcomes of sequence attempts are remembered), combinatorial anagrams within the step bound.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "PatternTestSupport.h"
#include "pattern/MatchEngineSet.h"

namespace qel {
namespace {

using test::repeat;

const std::vector<std::string> kHardWords = {
    std::string(31, 'a'),
    std::string(30, 'a') + "b",
    "abcdefghijklmnopqrstuvwxyzabcde",
    "zyxwvutsrqponmlkjihgfedcbazyxwv",
    "a-b-c-d-e-f-g-h-i-j-k-l-m-n-o-p-q-r-s-t-u",
    "abababababababababababababababa",
    "antidisestablishmentarianism",
    "aaaaaaaaaaaaaaab",
};

// The word's letters, or its whole text, with the letters folded to a-z.
std::string folded(const std::string& word, bool keepPunctuation) {
  std::string out;
  for (char c : word) {
    const uint8_t index = test::latinAlphabet().letterIndex[static_cast<uint8_t>(c)];
    if (index != kNotALetter || keepPunctuation)
      out += index != kNotALetter ? static_cast<char>('a' + index) : c;
  }
  return out;
}

// What "*" between literal characters means: the pieces in order, the last one at the very end
// unless the pattern ends with "*".
bool holdsInOrder(const std::string& text, const std::string& pieces, bool freeEnd) {
  size_t at = 0;
  for (size_t k = 0; k + (freeEnd ? 0 : 1) < pieces.size(); ++k) {
    at = text.find(pieces[k], at);
    if (at++ == std::string::npos) return false;
  }
  return freeEnd || (!text.empty() && text.back() == pieces.back() && text.size() > at);
}

TEST(PatternPathological, ManyWildcardsAreMatchedExactly) {
  struct Case {
    std::string pattern;
    std::string pieces;  // the literal characters between the wildcards
    bool freeEnd;
    bool punctuation;
  };
  const Case cases[] = {
      {repeat("*a", 15) + "*b", repeat("a", 15) + "b", false, false},
      {"*a*b*c*d*e*f*g*h*i*j*k*l*m*n*o*p*q*r*s*t*u*v*w*x*y*z*", "abcdefghijklmnopqrstuvwxyz", true,
       false},
      {repeat("*-", 20) + "*u", repeat("-", 20) + "u", false, true},
      {repeat("*a*", 10) + "(*b*)", repeat("a", 10) + "b", true, false},
      {"*(*(*(*(*(*(*(*(*(*a)*)*)*)*)*)*)*)*)*b", "ab", false, false},
  };
  for (const Case& c : cases) {
    MatchEngineSet set;
    ASSERT_EQ(test::parseInto(set, c.pattern), 0) << c.pattern;
    for (const std::string& word : kHardWords) {
      EXPECT_EQ(test::accepts(set, word),
                holdsInOrder(folded(word, c.punctuation), c.pieces, c.freeEnd))
          << c.pattern << " / " << word;
    }
    EXPECT_EQ(set.abandonedMatches(), 0) << c.pattern;
  }
}

TEST(PatternPathological, DeepGroupsAndLongPatternsStayCheap) {
  MatchEngineSet set;
  ASSERT_EQ(test::parseInto(set, repeat("(", 31) + "*z | a*" + repeat(")", 31) + " & *b"), 0);
  EXPECT_TRUE(test::accepts(set, std::string(30, 'a') + "b"));
  EXPECT_FALSE(test::accepts(set, std::string(31, 'a')));
  ASSERT_EQ(test::parseInto(set, repeat("!(", 31) + "a*" + repeat(")", 31)), 0);
  EXPECT_TRUE(test::accepts(set, "bcd"));  // an odd number of negations
  ASSERT_EQ(test::parseInto(set, "*;" + repeat("[aeiou][^aeiou]", 25)), 0);
  EXPECT_TRUE(test::accepts(set, "banana"));
  EXPECT_EQ(set.abandonedMatches(), 0);
}

// Each match gives the right answer (known in closed form here) or is abandoned at the step
// bound, counted by the set; an abandoned match never accepts.
TEST(PatternPathological, CombinatorialAnagramsStopAtTheStepBound) {
  auto has = [](const std::string& w, char c) { return w.find(c) != std::string::npos; };
  struct Case {
    std::string pattern;
    std::function<bool(const std::string&)> matches;
  };
  const Case cases[] = {
      {";(.*)(.*)(.*)(.*)(.*)z",
       [&](const std::string& w) { return has(w, 'z') && w.size() >= 6; }},
      {";123456789q*",  // nine different letters besides a q
       [&](const std::string& w) {
         std::string rest = w;
         if (!has(rest, 'q')) return false;
         rest.erase(rest.find('q'), 1);
         std::sort(rest.begin(), rest.end());
         return std::unique(rest.begin(), rest.end()) - rest.begin() >= 9;
       }},
      {";" + repeat("(..)", 15) + "x",
       [&](const std::string& w) {
         // Pairs tile the stretches around one x when each has an even length.
         for (size_t x = w.find('x'); w.size() == 31 && x != std::string::npos;
              x = w.find('x', x + 1))
           if (x % 2 == 0) return true;
         return false;
       }},
  };
  long abandoned = 0;
  for (const Case& c : cases) {
    MatchEngineSet set;
    ASSERT_EQ(test::parseInto(set, c.pattern), 0);
    for (const std::string& word : kHardWords) {
      const long before = set.abandonedMatches();
      const bool actual = test::accepts(set, word);
      if (set.abandonedMatches() == before) {
        EXPECT_EQ(actual, c.matches(folded(word, false))) << c.pattern << " / " << word;
      } else {
        EXPECT_FALSE(actual) << c.pattern << " / " << word;
      }
    }
    abandoned += set.abandonedMatches();
  }
  EXPECT_LT(abandoned, static_cast<long>(kHardWords.size()));
}

}  // namespace
}  // namespace qel
