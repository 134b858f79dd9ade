// Patterns built to make a backtracking matcher explode finish exactly: wildcard-heavy templates
// (outcomes of sequence attempts are remembered) and combinatorial anagrams (failed placements of
// their sub-patterns are remembered).
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "PatternTestSupport.h"
#include "pattern/MatchEngineSet.h"
#include "pattern/PatternCompiler.h"

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
      // Runs of wildcards, however long, are one wildcard.
      {std::string(100, '*'), "", true, false},
      {std::string(70, '*') + "a" + std::string(70, '*') + "b", "ab", false, false},
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

// Brackets that change nothing are compiled away, and only those: the program is the one of the
// pattern without them; brackets with punctuation, anagram parts or too deep stay as typed.
TEST(PatternPathological, BracketsThatChangeNothingAreCompiledAway) {
  const Alphabet& alphabet = test::latinAlphabet();
  const std::pair<std::string, std::string> same[] = {
      {"*(*e*)*", "*e*"},
      {"*(1*2)*(2*1)*", "*1*2*2*1*"},
      {"(a(b[^cd].)?)*", "ab[^cd].?*"},
      {repeat("(", 64) + "a*" + repeat(")", 64), "a*"},
  };
  for (const auto& [bracketed, plain] : same) {
    const pattern::CompiledPattern compiled = pattern::compilePattern(alphabet, bracketed);
    ASSERT_TRUE(compiled.valid) << bracketed;
    EXPECT_EQ(compiled.program, pattern::compilePattern(alphabet, plain).program) << bracketed;
  }
  for (const std::string kept : {"(a-b)*", "*(ab;c)", "a(\\b)", "(a)(", "()a"}) {
    const std::string typed = kept;
    std::string without = typed;
    std::erase(without, '(');
    std::erase(without, ')');
    const pattern::CompiledPattern compiled = pattern::compilePattern(alphabet, typed);
    EXPECT_TRUE(!compiled.valid ||
                compiled.program != pattern::compilePattern(alphabet, without).program)
        << typed;
  }
  EXPECT_FALSE(pattern::compilePattern(alphabet, repeat("(", 65) + "a" + repeat(")", 65)).valid);
}

// Anagrams of many variable-length sub-patterns, variables and wildcards are decided exactly
// (answers known in closed form here), none given up at the step bound.
TEST(PatternPathological, CombinatorialAnagramsAreDecidedExactly) {
  auto has = [](const std::string& w, char c) { return w.find(c) != std::string::npos; };
  auto distinct = [](std::string w) {
    std::sort(w.begin(), w.end());
    return std::unique(w.begin(), w.end()) - w.begin();
  };
  // The word cut into runs that start with each of the letters, in any order.
  auto runsStartingWith = [](const std::string& w, std::string starts) {
    std::function<bool(size_t)> cut = [&](size_t at) {
      if (at == w.size()) return starts.empty();
      for (size_t k = 0; k < starts.size(); ++k) {
        if (starts[k] != w[at]) continue;
        const char taken = starts[k];
        starts.erase(k, 1);
        for (size_t end = at + 1; end <= w.size(); ++end) {
          if (cut(end)) return true;
        }
        starts.insert(k, 1, taken);
      }
      return false;
    };
    return cut(0);
  };
  struct Case {
    std::string pattern;
    std::function<bool(const std::string&)> matches;
  };
  const Case cases[] = {
      {";(.*)(.*)(.*)(.*)(.*)z",
       [&](const std::string& w) { return has(w, 'z') && w.size() >= 6; }},
      {";" + repeat("(*)", 10) + "e", [&](const std::string& w) { return has(w, 'e'); }},
      {";123456789q*",  // nine different letters besides a q
       [&](const std::string& w) {
         std::string rest = w;
         if (!has(rest, 'q')) return false;
         rest.erase(rest.find('q'), 1);
         return distinct(rest) >= 9;
       }},
      {";1234567890", [&](const std::string& w) { return w.size() == 10 && distinct(w) == 10; }},
      {";1234567890(*)",  // ten different letters around one run
       [&](const std::string& w) {
         for (size_t start = 0; w.size() >= 10 && start <= 10; ++start) {
           if (distinct(w.substr(0, start) + w.substr(start + w.size() - 10)) == 10) return true;
         }
         return false;
       }},
      {";(a*)(e*)(i*)(o*)", [&](const std::string& w) { return runsStartingWith(w, "aeio"); }},
      {";" + repeat("(..)", 15) + "x",
       [&](const std::string& w) {
         // Pairs tile the stretches around one x when each has an even length.
         for (size_t x = w.find('x'); w.size() == 31 && x != std::string::npos;
              x = w.find('x', x + 1))
           if (x % 2 == 0) return true;
         return false;
       }},
  };
  std::vector<std::string> words = kHardWords;
  words.insert(words.end(), {"aeronauticalengineering", "autosomalrecessivedisease",
                             "agrobacteriumtumefaciens", "oilwaterseparator", "abcdefghij",
                             "abcdefghija", "zzzzabcdefghijzz", "qwertyuiopq", "xaeiox"});
  for (const Case& c : cases) {
    MatchEngineSet set;
    ASSERT_EQ(test::parseInto(set, c.pattern), 0);
    for (const std::string& word : words) {
      EXPECT_EQ(test::accepts(set, word), c.matches(folded(word, false)))
          << c.pattern << " / " << word;
    }
    EXPECT_EQ(set.abandonedMatches(), 0) << c.pattern;
  }
}

// Shapes whose work once grew with every entry of a dictionary, scaled down: nested wildcard
// sub-patterns, sets of variable patterns, anagram parts of wildcard sub-patterns (with anagrams of
// their own), each decided exactly and none given up.
TEST(PatternPathological, NestedWildcardsVariablesAndSubPatternAnagramsAreDecidedExactly) {
  auto has = [](const std::string& w, const std::string& letters) {
    return std::all_of(letters.begin(), letters.end(),
                       [&](char c) { return w.find(c) != std::string::npos; });
  };
  // Distinct letters for the digits of `order` that the word holds in that order, not necessarily
  // together.
  std::function<bool(const std::string&, const std::string&, std::string)> inOrder =
      [&](const std::string& w, const std::string& order, std::string chosen) -> bool {
    const size_t k = chosen.size();
    if (order.find(static_cast<char>('1' + k)) == std::string::npos) {
      std::string wanted;
      for (char d : order) wanted += chosen[d - '1'];
      return holdsInOrder(w, wanted, true);
    }
    for (char c = 'a'; c <= 'z'; ++c) {
      if (chosen.find(c) == std::string::npos && w.find(c) != std::string::npos &&
          inOrder(w, order, chosen + c))
        return true;
    }
    return false;
  };
  // Runs holding a and b, and c and d, apart, and an e outside both.
  auto runsApart = [](const std::string& w) {
    const int n = static_cast<int>(w.size());
    auto holds = [&](int from, int to, char x, char y) {
      const std::string run = w.substr(from, to - from);
      return run.find(x) != std::string::npos && run.find(y) != std::string::npos;
    };
    for (int a = 0; a < n; ++a)
      for (int b = a + 1; b <= n; ++b)
        for (int c = 0; c < n; ++c)
          for (int d = c + 1; d <= n; ++d) {
            if ((c < b && a < d) || !holds(a, b, 'a', 'b') || !holds(c, d, 'c', 'd')) continue;
            for (int e = 0; e < n; ++e)
              if (w[e] == 'e' && (e < a || e >= b) && (e < c || e >= d)) return true;
          }
    return false;
  };
  auto joined = [](const std::string& pattern, int copies) {
    std::string out = pattern;
    for (int k = 1; k < copies; ++k) out += "|" + pattern;
    return out;
  };
  struct Case {
    std::string pattern;
    std::function<bool(const std::string&)> matches;
  };
  const Case cases[] = {
      {repeat("(*", 12) + "e" + repeat("*)", 12),
       [&](const std::string& w) { return has(w, "e"); }},
      {joined("*1*2*1*2*", 8), [&](const std::string& w) { return inOrder(w, "1212", ""); }},
      {joined("*(1*2)*(2*1)*", 8), [&](const std::string& w) { return inOrder(w, "1221", ""); }},
      {";(*(;ab*)*)(*(;cd*)*)e*", runsApart},
      {";(*a)(*e)(*i)(*o)(*u)(*s)*", [&](const std::string& w) { return has(w, "aeious"); }},
      {"*1*2*3*1*2*3*", [&](const std::string& w) { return inOrder(w, "123123", ""); }},
  };
  std::vector<std::string> words = kHardWords;
  words.insert(words.end(), {"abcdefghijklmnopqrstuvwxyzabcde", "cadbxeaxb", "abxcdxeab",
                             "bacedcab", "housewives", "precautious", "abracadabra", "tattletale"});
  for (const Case& c : cases) {
    MatchEngineSet set;
    ASSERT_EQ(test::parseInto(set, c.pattern), 0) << c.pattern;
    for (const std::string& word : words) {
      EXPECT_EQ(test::accepts(set, word), c.matches(folded(word, false)))
          << c.pattern << " / " << word;
    }
    EXPECT_EQ(set.abandonedMatches(), 0) << c.pattern;
  }
}

}  // namespace
}  // namespace qel
