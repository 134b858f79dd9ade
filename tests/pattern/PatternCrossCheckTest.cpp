// Cross-check on the real word list: for random templates (with and without punctuation),
// anagrams, and their combinations with "&", "|" and "!", the matcher accepts exactly the words
// that a naive reference accepts: std::regex for templates, letter counts and brute force for
// anagrams. Templates of variables are also matched by the interpreter, which the direct matcher
// must agree with.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <fstream>
#include <functional>
#include <memory>
#include <random>
#include <regex>
#include <string>
#include <vector>

#include "PatternTestSupport.h"
#include "pattern/MatchEngineSet.h"
#include "pattern/Matcher.h"
#include "pattern/PatternCompiler.h"

namespace qel {
namespace {

struct Word {
  std::string text;     // code page 1252
  std::string letters;  // folded to a-z
  std::string folded;   // the text with its letters folded to a-z
  std::vector<uint8_t> codes;
};

const std::vector<Word>& wordList() {
  static const std::vector<Word> words = [] {
    std::vector<Word> list;
    std::ifstream in("/usr/share/dict/british-english-huge");
    std::string line;
    for (Word w; std::getline(in, line);) {
      if (!test::latin1FromUtf8(line, w.text)) continue;
      w.letters.clear();
      w.folded.clear();
      for (char c : w.text) {
        const uint8_t index = test::latinAlphabet().letterIndex[static_cast<uint8_t>(c)];
        w.folded += index == kNotALetter ? c : static_cast<char>('a' + index);
        if (index != kNotALetter) w.letters += static_cast<char>('a' + index);
      }
      if (w.letters.empty() || w.letters.size() > 31) continue;
      w.codes = test::lettersOf(w.text);
      list.push_back(w);
    }
    return list;
  }();
  return words;
}

// A pattern's meaning: its length range and whether it matches a word.
struct Meaning {
  std::string text;
  int shortest;
  int longest;
  std::function<bool(const Word&)> matches;
};

// A template of pieces, each with its pattern text and its regular expression (worked out at
// the end for a variable: a group the first time, a back-reference later).
struct Piece {
  std::string pattern;
  std::string regex;
  bool position;
  char variable = 0;
};

// The pattern text of the pieces, their lengths and their meaning as a regular expression.
Meaning meaningOf(const std::vector<Piece>& pieces, const std::string& letterRegex,
                  bool exclusive) {
  Meaning m{"", 0, 0, {}};
  std::string regex;
  std::string groups;  // the variable of each group
  bool open = false;
  for (const Piece& p : pieces) {
    m.text += p.pattern;
    regex += p.regex;
    if (p.variable != 0 && groups.find(p.variable) != std::string::npos) {
      regex += "\\" + std::to_string(groups.find(p.variable) + 1);
    } else if (p.variable != 0) {  // a new exclusive variable differs from those before it
      for (size_t g = 0; exclusive && g < groups.size(); ++g)
        regex += "(?!\\" + std::to_string(g + 1) + ")";
      regex += "(" + letterRegex + ")";
      groups += p.variable;
    }
    m.shortest += p.position;
    open = open || p.pattern == "*";
  }
  m.longest = open ? 31 : m.shortest;
  // Without punctuation the pattern ignores the entry's non-letters.
  const bool punctuated = std::any_of(
      pieces.begin(), pieces.end(), [](const Piece& p) { return !p.position && p.pattern != "*"; });
  auto re = std::make_shared<std::regex>(regex);
  m.matches = [re, punctuated](const Word& w) {
    return std::regex_match(punctuated ? w.folded : w.letters, *re);
  };
  return m;
}

// An anagram part: letters, match-alls, choice lists, variables (occurrences of 1, 2, ...) and
// sub-patterns (letters and ".", maybe ending in "*"), with or without a "*".
struct Anagram {
  std::string letters;
  int matchAlls = 0;
  std::vector<std::string> choiceLists;
  std::vector<int> variables;
  std::vector<std::string> subPatterns;
  bool open = false;

  static bool grows(const std::string& sub) { return sub.back() == '*'; }
  int positions() const {
    int n = static_cast<int>(letters.size() + choiceLists.size()) + matchAlls;
    for (int v : variables) n += v;
    for (const std::string& sub : subPatterns) n += static_cast<int>(sub.size()) - grows(sub);
    return n;
  }
  bool growing() const {
    return open || std::any_of(subPatterns.begin(), subPatterns.end(), grows);
  }

  // Sub-patterns on disjoint runs, then letters, variables (different letters) and choice lists
  // out of the rest; the match-alls take what remains, all of it unless there is a "*".
  bool matches(const std::string& word) const {
    std::vector<bool> used(word.size(), false);
    std::function<bool(size_t)> place = [&](size_t k) {
      if (k == subPatterns.size()) return rest(word, used);
      const std::string& sub = subPatterns[k];
      const size_t fixed = sub.size() - grows(sub);
      for (size_t s = 0; s + fixed <= word.size(); ++s) {
        for (size_t run = fixed; run <= (grows(sub) ? word.size() - s : fixed); ++run) {
          bool fits = true;
          for (size_t i = 0; i < run && fits; ++i)
            fits = !used[s + i] && (i >= fixed || sub[i] == '.' || sub[i] == word[s + i]);
          if (!fits) break;
          std::fill(used.begin() + s, used.begin() + s + run, true);
          const bool ok = place(k + 1);
          std::fill(used.begin() + s, used.begin() + s + run, false);
          if (ok) return true;
        }
      }
      return false;
    };
    return place(0);
  }

  bool rest(const std::string& word, const std::vector<bool>& used) const {
    std::array<int, 26> left{};
    int spare = -positions();
    for (size_t i = 0; i < word.size(); ++i) {
      if (!used[i]) ++left[word[i] - 'a'], ++spare;
    }
    for (const std::string& sub : subPatterns) spare += static_cast<int>(sub.size()) - grows(sub);
    if (spare < 0 || (!open && spare != 0)) return false;
    for (char c : letters) {
      if (--left[c - 'a'] < 0) return false;
    }
    std::vector<int> taken;
    std::function<bool(size_t)> choose = [&](size_t k) {
      if (k == choiceLists.size()) return true;
      for (char c : choiceLists[k]) {
        if (left[c - 'a'] == 0) continue;
        --left[c - 'a'];
        const bool ok = choose(k + 1);
        ++left[c - 'a'];
        if (ok) return true;
      }
      return false;
    };
    std::function<bool(size_t)> bind = [&](size_t v) {
      if (v == variables.size()) return choose(0);
      for (int x = 0; x < 26; ++x) {
        if (left[x] < variables[v] || std::count(taken.begin(), taken.end(), x)) continue;
        left[x] -= variables[v];
        taken.push_back(x);
        const bool ok = bind(v + 1);
        taken.pop_back();
        left[x] += variables[v];
        if (ok) return true;
      }
      return false;
    };
    return bind(0);
  }
};

class PatternCrossCheck : public ::testing::Test {
 protected:
  void SetUp() override {
    if (wordList().empty()) GTEST_SKIP() << "the word list is not installed";
  }

  int below(int n) { return static_cast<int>(m_random() % static_cast<unsigned>(n)); }
  char anyLetter() { return static_cast<char>('a' + below(26)); }

  const Word& sourceWord(int shortest, int longest, bool punctuated = false) {
    for (;;) {
      const Word& w = wordList()[m_random() % wordList().size()];
      const int n = static_cast<int>(w.letters.size());
      if (n >= shortest && n <= longest && (w.text.size() != w.letters.size()) == punctuated)
        return w;
    }
  }

  // Each letter of the text becomes itself, a match-all, a choice list or a variable, each
  // non-letter punctuation; a span may become a wildcard and a letter may change.
  Meaning makeTemplate(const std::string& text, bool variables, bool overText);
  // Each letter of the word becomes a variable, itself (perhaps in capitals) or a match-all; a
  // letter may get more than one variable, which only shared variables can match.
  Meaning makeVariableTemplate(const std::string& word, bool exclusive);
  // With `subPatterns` above 0: that many sub-patterns, most of them growing.
  Meaning makeAnagram(const std::string& letters, int subPatterns = 0);

  // Offers every 13th word of the list, and the source, to the parsed pattern.
  void crossCheck(const std::string& pattern, const Word& source,
                  const std::function<bool(const Word&)>& reference, bool exclusive = true) {
    MatchEngineSet set;
    ASSERT_EQ(set.parse(test::latinAlphabet(), pattern, 1, 31, exclusive),
              pattern::PatternError::kValid)
        << pattern;
    for (size_t i = 0; i <= wordList().size(); i += 13) {
      const Word& w = i < wordList().size() ? wordList()[i] : source;
      const bool actual =
          set.accepts(w.codes.data(), static_cast<int>(w.letters.size()), w.text.c_str());
      const bool expected = reference(w);
      m_positives += expected;
      if (actual != expected && ++m_failures <= 20)
        ADD_FAILURE() << "pattern \"" << pattern << "\" word \"" << w.text << "\": expected "
                      << expected;
    }
    EXPECT_EQ(set.abandonedMatches(), 0) << pattern;
  }

  std::mt19937 m_random{20240611};
  long m_positives = 0;
  int m_failures = 0;
};

Meaning PatternCrossCheck::makeTemplate(const std::string& text, bool variables, bool overText) {
  const std::string letterRegex = overText ? "[a-z]" : ".";
  std::vector<Piece> pieces;
  std::string variableLetters;
  for (char c : text) {
    const int r = below(100);
    const size_t v = variableLetters.find(c);
    if (c < 'a' || c > 'z') {
      const std::string escaped = std::string(1, '\\') + c;
      pieces.push_back({c == '.' ? escaped : std::string(1, c), escaped, false});
    } else if (variables && r < 35 && (v != std::string::npos || variableLetters.size() < 9)) {
      if (v == std::string::npos) variableLetters += c;
      const char digit = static_cast<char>('1' + variableLetters.find(c));
      pieces.push_back({std::string(1, digit), "", true, digit});
    } else if (r < 50) {
      pieces.push_back({std::string(1, c), std::string(1, c), true});
    } else if (r < 72) {
      pieces.push_back({".", letterRegex, true});
    } else {
      const bool negated = r >= 88;
      std::string set = negated ? "" : std::string(1, c);
      for (int k = below(3); k >= 0; --k) set += anyLetter();
      if (negated) set.erase(std::remove(set.begin(), set.end(), c), set.end());
      if (set.empty()) set = c == 'z' ? "a" : "z";
      pieces.push_back({(negated ? "[^" : "[") + set + "]",
                        negated ? "(?![" + set + "])" + letterRegex : "[" + set + "]", true});
    }
  }
  for (int stars = below(100) < 40 ? 1 + (below(100) < 30) : 0; stars > 0; --stars) {
    const int from = below(static_cast<int>(pieces.size()) + 1);
    const int count = std::min(below(4), static_cast<int>(pieces.size()) - from);
    pieces.erase(pieces.begin() + from, pieces.begin() + from + count);
    pieces.insert(pieces.begin() + from, {"*", ".*", false});
  }
  if (below(100) < 25) {
    for (Piece& p : pieces) {
      if (p.pattern.size() == 1 && p.pattern[0] >= 'a' && p.pattern[0] <= 'z') {
        p.pattern = p.regex = std::string(1, anyLetter());
        break;
      }
    }
  }
  return meaningOf(pieces, letterRegex, true);
}

Meaning PatternCrossCheck::makeVariableTemplate(const std::string& word, bool exclusive) {
  const std::string digits = "1234567890";
  std::string owners;  // the letter each digit so far stands for
  std::vector<Piece> pieces;
  for (char c : word) {
    const int r = below(100);
    size_t d = owners.find(c);
    const bool room = owners.size() < digits.size();
    if (r < 55 && (d != std::string::npos || room)) {
      if (d == std::string::npos || (room && below(100) < 15)) {
        d = owners.size();
        owners += c;
      }
      pieces.push_back({std::string(1, digits[d]), "", true, digits[d]});
    } else if (r < 80) {
      const char typed = below(100) < 20 ? static_cast<char>(c - 'a' + 'A') : c;
      pieces.push_back({std::string(1, typed), std::string(1, c), true});
    } else {
      pieces.push_back({".", ".", true});
    }
  }
  if (below(100) < 25) {
    for (Piece& p : pieces) {
      if (p.variable == 0 && p.pattern != ".") {
        p.pattern = p.regex = std::string(1, anyLetter());
        break;
      }
    }
  }
  return meaningOf(pieces, ".", exclusive);
}

Meaning PatternCrossCheck::makeAnagram(const std::string& word, int subPatterns) {
  Anagram a;
  std::string pool = word;
  const bool many = subPatterns > 0;
  for (int k = many              ? subPatterns
               : below(100) < 15 ? 2
                                 : 1;
       k > 0 && pool.size() >= (many ? 3u : 4u) && (many || below(100) < 40); --k) {
    const int length = 2 + below(many ? 2 : 3);
    const int start = below(static_cast<int>(pool.size()) - length + 1);
    std::string sub = pool.substr(start, length);
    if (below(100) < 30) sub[below(length)] = '.';
    if (below(100) < (many ? 75 : 40)) sub = sub.substr(0, 1 + below(2)) + "*";
    a.subPatterns.push_back(sub);
    pool.erase(start, length);
  }
  std::sort(pool.begin(), pool.end());
  const auto twin = std::adjacent_find(pool.begin(), pool.end());
  if (twin != pool.end() && below(100) < 20) {
    pool.erase(twin, twin + 2);
    a.variables.push_back(2);
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
      a.choiceLists.push_back(std::string(1, c) + std::string(below(3), anyLetter()));
    }
  }
  a.open = below(100) < 20;
  if (!a.letters.empty() && below(100) < 25)
    a.letters[below(static_cast<int>(a.letters.size()))] = anyLetter();

  std::vector<std::string> parts;
  for (char c : a.letters) parts.emplace_back(1, c);
  parts.insert(parts.end(), a.matchAlls, ".");
  for (const std::string& set : a.choiceLists) parts.push_back("[" + set + "]");
  for (size_t v = 0; v < a.variables.size(); ++v)
    parts.insert(parts.end(), a.variables[v], std::string(1, '1' + v));
  for (const std::string& sub : a.subPatterns) parts.push_back("(" + sub + ")");
  if (a.open) parts.emplace_back("*");
  std::shuffle(parts.begin(), parts.end(), m_random);
  Meaning m{";", a.positions(), a.growing() ? 31 : a.positions(), {}};
  for (const std::string& p : parts) m.text += p;
  m.matches = [a](const Word& w) { return a.matches(w.letters); };
  return m;
}

TEST_F(PatternCrossCheck, SingleTemplatesAndAnagrams) {
  for (int n = 0; n < 360; ++n) {
    const int kind = n % 3;  // template, punctuated template, anagram
    const Word& source = kind == 0   ? sourceWord(2, 12)
                         : kind == 1 ? sourceWord(2, 14, true)
                                     : sourceWord(3, 10);
    if (kind == 1 &&
        (source.folded.find_first_not_of("abcdefghijklmnopqrstuvwxyz-' .") != std::string::npos ||
         source.folded.front() == ' ' || source.folded.back() == ' '))
      continue;
    const Meaning m = kind == 2 ? makeAnagram(source.letters)
                                : makeTemplate(kind == 0 ? source.letters : source.folded,
                                               below(100) < 25, kind == 1);
    if (m.shortest == 0 || m.text.front() == ' ' || m.text.back() == ' ') continue;
    crossCheck(m.text, source, [&m](const Word& w) {
      const int length = static_cast<int>(w.letters.size());
      return length >= m.shortest && length <= m.longest && m.matches(w);
    });
  }
  EXPECT_GT(m_positives, 1000);
}

// Runs of letters, match-alls and variables take the direct matcher, which must answer as the
// reference does and as the interpreter does, for every word of the pattern's length, with
// exclusive variables and with shared ones.
TEST_F(PatternCrossCheck, VariableTemplatesMatchAsTheInterpreterDoes) {
  long interpreted = 0;
  for (int n = 0; n < 160; ++n) {
    const bool exclusive = n % 2 == 0;
    const Word& source = sourceWord(2, 12);
    const Meaning m = makeVariableTemplate(source.letters, exclusive);
    pattern::CompiledPattern direct = pattern::compilePattern(test::latinAlphabet(), m.text);
    ASSERT_TRUE(direct.valid) << m.text;
    direct.exclusiveVariables = exclusive;
    if (m.text.find_first_of("0123456789") != std::string::npos) {
      EXPECT_EQ(direct.matcher, pattern::MatcherKind::VariableTemplate) << m.text;
    }
    crossCheck(
        m.text, source,
        [&m](const Word& w) {
          return static_cast<int>(w.letters.size()) == m.shortest && m.matches(w);
        },
        exclusive);

    pattern::CompiledPattern general = direct;
    general.matcher = pattern::MatcherKind::General;
    pattern::MatchScratch scratch;
    for (const Word& w : wordList()) {
      const pattern::MatchSubject subject{w.codes.data(), static_cast<int>(w.letters.size()),
                                          w.text.c_str()};
      if (subject.length != m.shortest) continue;
      ++interpreted;
      const bool fast = pattern::matchEntry(direct, test::latinAlphabet(), subject, scratch);
      if (fast != pattern::matchEntry(general, test::latinAlphabet(), subject, scratch) &&
          ++m_failures <= 20) {
        ADD_FAILURE() << "pattern \"" << m.text << "\" word \"" << w.text
                      << "\": the interpreter says " << !fast;
      }
    }
  }
  EXPECT_GT(m_positives, 100);
  EXPECT_GT(interpreted, 100000);
}

// Up to four growing sub-patterns among at most a dozen elements: every word is decided, none is
// given up.
TEST_F(PatternCrossCheck, AnagramsOfManyGrowingSubPatterns) {
  for (int n = 0; n < 40; ++n) {
    const Word& source = sourceWord(8, 13);
    const Meaning m = makeAnagram(source.letters, 3 + n % 2);
    if (m.shortest == 0) continue;
    crossCheck(m.text, source, [&m](const Word& w) {
      const int length = static_cast<int>(w.letters.size());
      return length >= m.shortest && length <= m.longest && m.matches(w);
    });
  }
  EXPECT_GT(m_positives, 100);
}

// Out of its range a pattern is false. The lengths searched: a negated operand counts with its
// own range, except beside "&", where it does not narrow the other side.
TEST_F(PatternCrossCheck, CombinationsEvaluateWithoutPrecedence) {
  using Logic = std::function<bool(bool, bool, bool)>;
  struct Form {
    const char* text;  // %1, %2, %3 stand for the patterns
    Logic value;       // of the operands' matches
    Logic lengths;     // of whether each operand's range holds the length
  };
  const Form forms[] = {
      {"%1 & %2", [](bool a, bool b, bool) { return a && b; },
       [](bool a, bool b, bool) { return a && b; }},
      {"%1 | %2", [](bool a, bool b, bool) { return a || b; },
       [](bool a, bool b, bool) { return a || b; }},
      {"%1 & !%2", [](bool a, bool b, bool) { return a && !b; },
       [](bool a, bool, bool) { return a; }},
      {"(%1 | %2) & %3", [](bool a, bool b, bool c) { return (a || b) && c; },
       [](bool a, bool b, bool c) { return (a || b) && c; }},
      {"%1 | %2 & %3", [](bool a, bool b, bool c) { return a || (b && c); },
       [](bool a, bool b, bool c) { return a || (b && c); }},
      {"!(%1 & %2) | %3", [](bool a, bool b, bool c) { return !(a && b) || c; },
       [](bool a, bool b, bool c) { return (a && b) || c; }},
      {"(!%1 | %2) & %3", [](bool a, bool b, bool c) { return (!a || b) && c; },
       [](bool a, bool b, bool c) { return (a || b) && c; }},
  };
  for (int n = 0; n < 70; ++n) {
    const Word& source = sourceWord(3, 9);
    std::vector<Meaning> operands;
    while (operands.size() < 3) {
      Meaning m =
          below(2) ? makeTemplate(source.letters, false, false) : makeAnagram(source.letters);
      if (m.shortest > 0) operands.push_back(std::move(m));
    }
    const Form& form = forms[below(static_cast<int>(std::size(forms)))];
    std::string text = form.text;
    for (int k = 0; k < 3; ++k) {
      const size_t at = text.find("%" + std::to_string(k + 1));
      if (at != std::string::npos) text.replace(at, 2, operands[k].text);
    }
    auto in = [&](int k, int length) {
      return length >= operands[k].shortest && length <= operands[k].longest;
    };
    int first = 32, last = 0;
    for (int length = 1; length <= 31; ++length) {
      if (form.lengths(in(0, length), in(1, length), in(2, length)))
        first = std::min(first, length), last = length;
    }
    crossCheck(text, source, [&](const Word& w) {
      const int length = static_cast<int>(w.letters.size());
      if (length < first || length > last) return false;
      bool v[3];
      for (int k = 0; k < 3; ++k) v[k] = in(k, length) && operands[k].matches(w);
      return form.value(v[0], v[1], v[2]);
    });
  }
  EXPECT_GT(m_positives, 1000);
}

}  // namespace
}  // namespace qel
