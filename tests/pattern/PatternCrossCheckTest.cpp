// Cross-check on the real word list: for random templates, anagrams, templates with anagram
// parts, punctuated templates and their combinations with "&", "|" and "!", the matcher accepts
// exactly the words the naive reference accepts.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "NaiveReference.h"
#include "PatternTestSupport.h"
#include "pattern/MatchEngineSet.h"

namespace qel {
namespace {

using test::Anagram;
using test::Template;
using test::TemplateToken;

constexpr const char* kWordList = "/usr/share/dict/british-english-huge";
constexpr int kSampleStride = 13;

struct Word {
  std::string text;     // code page 1252
  std::string letters;  // folded to a-z
  std::string folded;   // the text with its letters folded to a-z
  std::vector<uint8_t> codes;
};

class PatternCrossCheck : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    std::ifstream in(kWordList);
    std::string line;
    std::string latin;
    const Alphabet& alphabet = test::latinAlphabet();
    for (size_t n = 0; std::getline(in, line); ++n) {
      if (!test::latin1FromUtf8(line, latin)) continue;
      Word w;
      w.text = latin;
      for (char c : latin) {
        const uint8_t index = alphabet.letterIndex[static_cast<uint8_t>(c)];
        w.folded += index == kNotALetter ? c : static_cast<char>('a' + index);
        if (index != kNotALetter) w.letters += static_cast<char>('a' + index);
      }
      if (w.letters.empty() || w.letters.size() > 31) continue;
      w.codes = test::lettersOf(latin);
      s_words.push_back(std::move(w));
    }
    for (size_t i = 0; i < s_words.size(); i += kSampleStride) s_sample.push_back(&s_words[i]);
  }

  void SetUp() override {
    if (s_words.empty()) GTEST_SKIP() << kWordList << " is not installed";
  }

  // A random word with letters only and a length in [shortest, longest].
  const Word& sourceWord(int shortest, int longest, bool punctuated = false) {
    for (;;) {
      const Word& w = s_words[m_random() % s_words.size()];
      const int n = static_cast<int>(w.letters.size());
      if (n < shortest || n > longest) continue;
      if ((w.text.size() != w.letters.size()) != punctuated) continue;
      return w;
    }
  }

  int below(int n) { return static_cast<int>(m_random() % static_cast<unsigned>(n)); }
  char anyLetter() { return static_cast<char>('a' + below(26)); }

  Template makeTemplate(const std::string& text, bool variables);
  Anagram makeAnagram(const std::string& letters);

  // Offers every sampled word (and the source) to the parsed pattern; counts disagreements.
  void crossCheck(const std::string& pattern, const Word& source,
                  const std::function<bool(const Word&)>& reference) {
    MatchEngineSet set;
    ASSERT_EQ(test::parseInto(set, pattern), 0) << pattern;
    std::vector<const Word*> words = s_sample;
    words.push_back(&source);
    for (const Word* w : words) {
      const bool actual = set.accepts(w->codes.data(), static_cast<int>(w->letters.size()),
                                      w->text.c_str());
      const bool expected = reference(*w);
      m_positives += expected ? 1 : 0;
      if (actual != expected && ++m_failures <= 20)
        ADD_FAILURE() << "pattern \"" << pattern << "\" word \"" << w->text << "\": expected "
                      << expected;
    }
    EXPECT_EQ(set.abandonedMatches(), 0) << pattern;
  }

  static std::vector<Word> s_words;
  static std::vector<const Word*> s_sample;
  std::mt19937 m_random{20240611};
  long m_positives = 0;
  int m_failures = 0;
};

std::vector<Word> PatternCrossCheck::s_words;
std::vector<const Word*> PatternCrossCheck::s_sample;

// Each character of the text becomes a letter, a match-all, a choice list, a variable or (for a
// non-letter) punctuation; a span may become a wildcard and a letter may be changed.
Template PatternCrossCheck::makeTemplate(const std::string& text, bool variables) {
  Template t;
  std::string variableLetters;  // letter of variable 1, 2, ...
  for (char c : text) {
    if (c < 'a' || c > 'z') {
      t.tokens.push_back({TemplateToken::Punctuation, c, {}});
      continue;
    }
    const int r = below(100);
    const size_t v = variableLetters.find(c);
    if (variables && r < 35 && (v != std::string::npos || variableLetters.size() < 9)) {
      if (v == std::string::npos) variableLetters += c;
      t.tokens.push_back({TemplateToken::Variable, static_cast<char>('1' + variableLetters.find(c)), {}});
    } else if (r < 50) {
      t.tokens.push_back({TemplateToken::Letter, c, {}});
    } else if (r < 72) {
      t.tokens.push_back({TemplateToken::Any, 0, {}});
    } else if (r < 88) {
      std::string set(1, c);
      for (int k = below(3); k >= 0; --k) set += anyLetter();
      std::shuffle(set.begin(), set.end(), m_random);
      t.tokens.push_back({TemplateToken::Choice, 0, set});
    } else {
      std::string set;
      for (int k = below(4); k >= 0; --k) {
        const char x = anyLetter();
        if (x != c) set += x;
      }
      if (set.empty()) set = c == 'z' ? "a" : "z";
      t.tokens.push_back({TemplateToken::NegatedChoice, 0, set});
    }
  }
  if (below(100) < 40) {
    const int from = below(static_cast<int>(t.tokens.size()) + 1);
    const int count = std::min(below(4), static_cast<int>(t.tokens.size()) - from);
    t.tokens.erase(t.tokens.begin() + from, t.tokens.begin() + from + count);
    t.tokens.insert(t.tokens.begin() + from, {TemplateToken::Star, 0, {}});
    if (below(100) < 30) {
      const int at = below(static_cast<int>(t.tokens.size()) + 1);
      t.tokens.insert(t.tokens.begin() + at, {TemplateToken::Star, 0, {}});
    }
  }
  if (below(100) < 25) {
    for (TemplateToken& token : t.tokens) {
      if (token.kind == TemplateToken::Letter) {
        token.c = anyLetter();
        break;
      }
    }
  }
  return t;
}

// The letters of a word as an anagram: some become match-alls, choice lists, variables or a
// sub-pattern run; a "*" may be added and a letter changed.
Anagram PatternCrossCheck::makeAnagram(const std::string& word) {
  Anagram a;
  std::string pool = word;
  for (int k = below(100) < 15 ? 2 : 1; k > 0 && pool.size() >= 4 && below(100) < 40; --k) {
    const int length = 2 + below(3);
    const int start = below(static_cast<int>(pool.size()) - length + 1);
    std::string sub = pool.substr(start, length);
    if (below(100) < 30) sub[below(length)] = '.';
    if (below(100) < 40) sub = sub.substr(0, 1 + below(2)) + "*";  // takes the rest of the run
    a.subPatterns.push_back(sub);
    pool.erase(start, length);
  }
  if (below(100) < 20) {
    std::sort(pool.begin(), pool.end());
    const auto twin = std::adjacent_find(pool.begin(), pool.end());
    if (twin != pool.end()) {
      pool.erase(twin, twin + 2);
      a.variables.push_back(2);
    }
  }
  if (!pool.empty() && below(100) < 15) {
    pool.erase(below(static_cast<int>(pool.size())), 1);
    a.variables.push_back(1);
  }
  for (char c : pool) {
    const int r = below(100);
    if (r < 65) {
      a.letters += c;
    } else if (r < 80) {
      ++a.matchAlls;
    } else {
      std::string set(1, c);
      for (int k = below(3); k > 0; --k) set += anyLetter();
      a.choiceLists.push_back(set);
    }
  }
  a.open = below(100) < 20;
  if (!a.letters.empty() && below(100) < 25) a.letters[below(static_cast<int>(a.letters.size()))] = anyLetter();
  return a;
}

TEST_F(PatternCrossCheck, TemplatesMatchLikeRegularExpressions) {
  for (int n = 0; n < 120; ++n) {
    const Word& source = sourceWord(2, 12);
    const Template t = makeTemplate(source.letters, below(100) < 30);
    const std::regex re = t.regex(false);
    const int fixed = t.fixed();
    const bool open = t.open();
    crossCheck(t.text(), source, [&](const Word& w) {
      const int length = static_cast<int>(w.letters.size());
      if (length < fixed || (!open && length != fixed)) return false;
      return std::regex_match(w.letters, re);
    });
  }
  EXPECT_GT(m_positives, 500);
}

TEST_F(PatternCrossCheck, AnagramsMatchByLetterCounts) {
  for (int n = 0; n < 150; ++n) {
    const Word& source = sourceWord(3, 10);
    const Anagram a = makeAnagram(source.letters);
    if (a.positions() == 0) continue;
    crossCheck(a.text(m_random()), source, [&](const Word& w) { return a.matches(w.letters); });
  }
  EXPECT_GT(m_positives, 300);
}

TEST_F(PatternCrossCheck, TemplatesWithAnagramPartsNeedBoth) {
  for (int n = 0; n < 50; ++n) {
    const Word& source = sourceWord(3, 10);
    const Template t = makeTemplate(source.letters, false);
    std::string letters = source.letters;
    std::shuffle(letters.begin(), letters.end(), m_random);
    letters.resize(letters.size() - static_cast<size_t>(below(3)));
    if (below(100) < 40) letters += anyLetter();
    const std::regex re = t.regex(false);
    const int fixed = t.fixed();
    const int positions = static_cast<int>(letters.size());
    // A wildcard lets the template grow only as far as a longer anagram part reaches.
    const int longest = !t.open() ? fixed : (positions > fixed ? positions : 31);
    crossCheck(t.text() + ";" + letters, source, [&](const Word& w) {
      const int length = static_cast<int>(w.letters.size());
      if (length < fixed || length > longest) return false;
      return test::templateWithLettersMatches(re, letters, positions, w.letters);
    });
  }
  EXPECT_GT(m_positives, 50);
}

TEST_F(PatternCrossCheck, PunctuatedTemplatesMatchTheEntryText) {
  for (int n = 0; n < 80; ++n) {
    const Word& source = sourceWord(2, 14, true);
    const std::string& text = source.folded;
    if (text.find_first_not_of("abcdefghijklmnopqrstuvwxyz-' .") != std::string::npos) continue;
    if (text.front() == ' ' || text.back() == ' ') continue;
    const Template t = makeTemplate(text, below(100) < 20);
    if (t.tokens.front().kind == TemplateToken::Punctuation && t.tokens.front().c == ' ') continue;
    if (t.tokens.back().kind == TemplateToken::Punctuation && t.tokens.back().c == ' ') continue;
    const std::regex re = t.regex(true);
    const int fixed = t.fixed();
    const bool open = t.open();
    crossCheck(t.text(), source, [&](const Word& w) {
      const int length = static_cast<int>(w.letters.size());
      if (length < fixed || (!open && length != fixed)) return false;
      return std::regex_match(w.folded, re);
    });
  }
  EXPECT_GT(m_positives, 100);
}

TEST_F(PatternCrossCheck, CombinationsEvaluateWithoutPrecedence) {
  struct Form {
    const char* text;  // %1, %2, %3 stand for the patterns
    // The last argument asks whether the length could match: a negated pattern always could.
    std::function<bool(bool, bool, bool, bool)> value;
  };
  const Form forms[] = {
      {"%1 & %2", [](bool a, bool b, bool, bool) { return a && b; }},
      {"%1 | %2", [](bool a, bool b, bool, bool) { return a || b; }},
      {"%1 & !%2", [](bool a, bool b, bool, bool lengths) { return a && (lengths || !b); }},
      {"!%1 | %2", [](bool a, bool b, bool, bool lengths) { return lengths || !a || b; }},
      {"(%1 | %2) & %3", [](bool a, bool b, bool c, bool) { return (a || b) && c; }},
      {"%1 | %2 & %3", [](bool a, bool b, bool c, bool) { return a || (b && c); }},
      {"!(%1 & %2) | %3",
       [](bool a, bool b, bool c, bool lengths) { return lengths || !(a && b) || c; }},
  };
  struct Operand {
    std::string text;
    int shortest;
    int longest;
    std::function<bool(const Word&)> matches;
  };
  for (int n = 0; n < 70; ++n) {
    const Word& source = sourceWord(3, 9);
    std::vector<Operand> operands;
    for (int k = 0; k < 3; ++k) {
      if (below(2) == 0) {
        const Template t = makeTemplate(source.letters, false);
        auto re = std::make_shared<std::regex>(t.regex(false));
        operands.push_back({t.text(), t.fixed(), t.open() ? 31 : t.fixed(),
                            [re](const Word& w) { return std::regex_match(w.letters, *re); }});
      } else {
        const Anagram a = makeAnagram(source.letters);
        if (a.positions() == 0) {
          --k;
          continue;
        }
        const bool grows = a.open || a.text(0).find("*)") != std::string::npos;
        operands.push_back({a.text(m_random()), a.positions(), grows ? 31 : a.positions(),
                            [a](const Word& w) { return a.matches(w.letters); }});
      }
    }
    const Form& form = forms[below(static_cast<int>(std::size(forms)))];
    std::string text = form.text;
    for (int k = 0; k < 3; ++k) {
      const std::string key = "%" + std::to_string(k + 1);
      const size_t at = text.find(key);
      if (at != std::string::npos) text.replace(at, key.size(), operands[k].text);
    }
    auto inRange = [&](int k, int length) {
      return length >= operands[k].shortest && length <= operands[k].longest;
    };
    int first = 32;
    int last = 0;
    for (int length = 1; length <= 31; ++length) {
      if (!form.value(inRange(0, length), inRange(1, length), inRange(2, length), true)) continue;
      first = std::min(first, length);
      last = length;
    }
    crossCheck(text, source, [&](const Word& w) {
      const int length = static_cast<int>(w.letters.size());
      if (length < first || length > last) return false;
      bool value[3];
      for (int k = 0; k < 3; ++k) value[k] = inRange(k, length) && operands[k].matches(w);
      return form.value(value[0], value[1], value[2], false);
    });
  }
  EXPECT_GT(m_positives, 1000);
}

}  // namespace
}  // namespace qel
