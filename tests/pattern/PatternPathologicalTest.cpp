// Patterns built to make a backtracking matcher explode finish: wildcard-heavy templates exactly
// (outcomes of sequence attempts are remembered), combinatorial anagrams within the step bound.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "PatternTestSupport.h"
#include "pattern/MatchEngineSet.h"

namespace qel {
namespace {

const std::vector<std::string>& hardWords() {
  static const std::vector<std::string> words = {
      std::string(31, 'a'),
      std::string(30, 'a') + "b",
      "abcdefghijklmnopqrstuvwxyzabcde",
      "zyxwvutsrqponmlkjihgfedcbazyxwv",
      "a-b-c-d-e-f-g-h-i-j-k-l-m-n-o-p-q-r-s-t-u",
      "abababababababababababababababa",
      "pneumonoultramicroscopicsilicov",
      "antidisestablishmentarianism",
      "floccinaucinihilipilification",
      "aaaaaaaaaaaaaaab",
  };
  return words;
}

std::string repeat(const std::string& s, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += s;
  return out;
}

// The entry's letters folded to a-z, or its whole text with the letters folded.
std::string foldedText(const std::string& word, bool keepPunctuation) {
  std::string out;
  for (char c : word) {
    const uint8_t index = test::latinAlphabet().letterIndex[static_cast<uint8_t>(c)];
    if (index != kNotALetter) out += static_cast<char>('a' + index);
    else if (keepPunctuation) out += c;
  }
  return out;
}

// Whether the text holds the pieces in order, the first at the very start unless `freeStart`
// and the last at the very end unless `freeEnd`: what "*" between literal characters means.
bool holdsInOrder(const std::string& text, const std::string& pieces, bool freeStart,
                  bool freeEnd) {
  if (pieces.empty()) return true;
  size_t at = 0;
  for (size_t k = 0; k < pieces.size(); ++k) {
    const bool last = k + 1 == pieces.size();
    if (k == 0 && !freeStart) {
      if (text.empty() || text[0] != pieces[0]) return false;
      at = 1;
      continue;
    }
    if (last && !freeEnd) return !text.empty() && text.back() == pieces[k] && text.size() - 1 >= at;
    const size_t found = text.find(pieces[k], at);
    if (found == std::string::npos) return false;
    at = found + 1;
  }
  return true;
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
      {repeat("*-", 21) + "*", repeat("-", 21), true, true},
      {repeat("*a*", 10) + "(*b*)", repeat("a", 10) + "b", true, false},
      {"*(*(*(*(*(*(*(*(*(*a)*)*)*)*)*)*)*)*)*b", "ab", false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.pattern);
    MatchEngineSet set;
    ASSERT_EQ(test::parseInto(set, c.pattern), 0);
    for (const std::string& word : hardWords()) {
      const bool expected = holdsInOrder(foldedText(word, c.punctuation), c.pieces, true, c.freeEnd);
      EXPECT_EQ(test::accepts(set, word), expected) << word;
    }
    EXPECT_EQ(set.abandonedMatches(), 0);
  }
}

TEST(PatternPathological, DeepGroupsAndLongPatternsStayCheap) {
  MatchEngineSet set;
  ASSERT_EQ(test::parseInto(set, repeat("(", 31) + "*z | a*" + repeat(")", 31) + " & *b"), 0);
  EXPECT_TRUE(test::accepts(set, std::string(30, 'a') + "b"));
  EXPECT_FALSE(test::accepts(set, std::string(31, 'a')));
  ASSERT_EQ(test::parseInto(set, repeat("!(", 31) + "a*" + repeat(")", 31)), 0);
  EXPECT_TRUE(test::accepts(set, "bcd"));  // an odd number of negations
  ASSERT_EQ(test::parseInto(set, repeat("(", 31) + "a*" + repeat(")", 31)), 0);
  EXPECT_TRUE(test::accepts(set, "abc"));
  ASSERT_EQ(test::parseInto(set, std::string(50, '.')), 0);
  EXPECT_EQ(set.lengthCheck(1, 31).message, 13010);
  ASSERT_EQ(test::parseInto(set, "*;" + repeat("[aeiou][^aeiou]", 25)), 0);
  EXPECT_TRUE(test::accepts(set, "banana"));
  EXPECT_EQ(set.abandonedMatches(), 0);
}

// Each match either gives the right answer or is abandoned at the step bound, counted by the
// set; an abandoned match never accepts. The right answers here have closed forms.
TEST(PatternPathological, CombinatorialAnagramsStopAtTheStepBound) {
  auto count = [](const std::string& w, char c) { return std::count(w.begin(), w.end(), c); };
  struct Case {
    std::string pattern;
    std::function<bool(const std::string&)> matches;
  };
  const Case cases[] = {
      // Five runs of one or more letters and a z.
      {";(.*)(.*)(.*)(.*)(.*)z",
       [&](const std::string& w) { return count(w, 'z') > 0 && w.size() >= 6; }},
      // Fifteen runs of two letters and an x: the stretches between x's must be of even length.
      {";" + repeat("(..)", 15) + "x",
       [&](const std::string& w) {
         if (w.size() != 31 || count(w, 'x') == 0) return false;
         for (size_t x = 0; x < w.size(); ++x) {
           if (w[x] != 'x') continue;
           std::string rest = w;
           rest[x] = '|';
           bool even = true;
           size_t run = 0;
           for (char c : rest + "|") {
             if (c == '|') {
               even = even && run % 2 == 0;
               run = 0;
             } else {
               ++run;
             }
           }
           if (even) return true;
         }
         return false;
       }},
      // [ab][bc]...[yz] and anything more: greedy from a is optimal along a chain.
      {";[ab][bc][cd][de][ef][fg][gh][hi][ij][jk][kl][lm][mn][no][op][pq][qr][rs][st][tu][uv][vw]"
       "[wx][xy][yz]*",
       [&](const std::string& w) {
         std::array<long, 26> left{};
         for (char c : w) ++left[c - 'a'];
         for (int i = 0; i < 25; ++i) {
           if (left[i] > 0) {
             --left[i];
           } else if (left[i + 1] > 0) {
             --left[i + 1];
           } else {
             return false;
           }
         }
         return true;
       }},
      // Nine different letters and a q, and anything more.
      {";123456789q*",
       [&](const std::string& w) {
         if (count(w, 'q') == 0) return false;
         std::string rest = w;
         rest.erase(rest.find('q'), 1);
         std::sort(rest.begin(), rest.end());
         return std::unique(rest.begin(), rest.end()) - rest.begin() >= 9;
       }},
  };
  long abandoned = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.pattern);
    MatchEngineSet set;
    ASSERT_EQ(test::parseInto(set, c.pattern), 0);
    for (const std::string& word : hardWords()) {
      const long before = set.abandonedMatches();
      const bool actual = test::accepts(set, word);
      if (set.abandonedMatches() > before) {
        EXPECT_FALSE(actual) << word;
        continue;
      }
      EXPECT_EQ(actual, c.matches(foldedText(word, false))) << word;
    }
    abandoned += set.abandonedMatches();
  }
  EXPECT_LT(abandoned, static_cast<long>(hardWords().size()));
}

}  // namespace
}  // namespace qel
