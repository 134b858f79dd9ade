// Reference semantics, written for clarity rather than speed.
#include "NaiveReference.h"

#include <algorithm>
#include <array>
#include <functional>
#include <random>

namespace qel::test {
namespace {

std::string escaped(char c) {
  static const std::string special = "\\^$.|?*+()[]{}";
  return special.find(c) != std::string::npos ? std::string("\\") + c : std::string(1, c);
}

using Counts = std::array<int, 26>;

bool isOpen(const std::string& sub) { return !sub.empty() && sub.back() == '*'; }

Counts countsOf(const std::string& letters) {
  Counts counts{};
  for (char c : letters) ++counts[c - 'a'];
  return counts;
}

}  // namespace

std::string Template::text() const {
  std::string out;
  for (const TemplateToken& t : tokens) {
    switch (t.kind) {
      case TemplateToken::Letter: out += t.c; break;
      case TemplateToken::Any: out += '.'; break;
      case TemplateToken::Choice: out += "[" + t.set + "]"; break;
      case TemplateToken::NegatedChoice: out += "[^" + t.set + "]"; break;
      case TemplateToken::Variable: out += t.c; break;
      case TemplateToken::Star: out += '*'; break;
      case TemplateToken::Punctuation:
        out += (t.c == '-' || t.c == '\'' || t.c == ' ') ? std::string(1, t.c)
                                                         : std::string("\\") + t.c;
        break;
    }
  }
  return out;
}

std::regex Template::regex(bool overText) const {
  const std::string anyLetter = overText ? "[a-z]" : ".";
  std::string re;
  std::vector<char> groups;  // variable of each capture group, in order
  for (const TemplateToken& t : tokens) {
    switch (t.kind) {
      case TemplateToken::Letter: re += t.c; break;
      case TemplateToken::Any: re += anyLetter; break;
      case TemplateToken::Choice: re += "[" + t.set + "]"; break;
      case TemplateToken::NegatedChoice: re += overText ? "(?![" + t.set + "])[a-z]" : "[^" + t.set + "]"; break;
      case TemplateToken::Star: re += ".*"; break;
      case TemplateToken::Punctuation: re += escaped(t.c); break;
      case TemplateToken::Variable: {
        const auto it = std::find(groups.begin(), groups.end(), t.c);
        if (it != groups.end()) {
          re += "\\" + std::to_string(it - groups.begin() + 1);
          break;
        }
        // Exclusive variables: a new variable differs from every one bound before it.
        if (!groups.empty()) {
          re += "(?!";
          for (size_t g = 0; g < groups.size(); ++g) re += (g ? "|\\" : "\\") + std::to_string(g + 1);
          re += ")";
        }
        groups.push_back(t.c);
        re += "(" + anyLetter + ")";
        break;
      }
    }
  }
  return std::regex(re, std::regex::ECMAScript | std::regex::optimize);
}

int Template::fixed() const {
  int n = 0;
  for (const TemplateToken& t : tokens) {
    if (t.kind != TemplateToken::Star && t.kind != TemplateToken::Punctuation) ++n;
  }
  return n;
}

bool Template::open() const {
  return std::any_of(tokens.begin(), tokens.end(),
                     [](const TemplateToken& t) { return t.kind == TemplateToken::Star; });
}

std::string Anagram::text(unsigned shuffleSeed) const {
  std::vector<std::string> parts;
  for (char c : letters) parts.emplace_back(1, c);
  for (int i = 0; i < matchAlls; ++i) parts.emplace_back(".");
  for (const std::string& set : choiceLists) parts.push_back("[" + set + "]");
  for (size_t v = 0; v < variables.size(); ++v) {
    for (int i = 0; i < variables[v]; ++i) parts.emplace_back(1, static_cast<char>('1' + v));
  }
  for (const std::string& sub : subPatterns) parts.push_back("(" + sub + ")");
  if (open) parts.emplace_back("*");
  std::mt19937 random(shuffleSeed);
  std::shuffle(parts.begin(), parts.end(), random);
  std::string out = ";";
  for (const std::string& p : parts) out += p;
  return out;
}

int Anagram::positions() const {
  int n = static_cast<int>(letters.size()) + matchAlls + static_cast<int>(choiceLists.size());
  for (int v : variables) n += v;
  for (const std::string& sub : subPatterns) n += static_cast<int>(sub.size()) - (isOpen(sub) ? 1 : 0);
  return n;
}

// Every way of placing the sub-patterns on disjoint runs of the word, then the letters, the
// variables (distinct letters) and the choice lists (distinct occurrences) out of what is left;
// the match-alls take what remains, all of it unless there is a "*".
bool Anagram::matches(const std::string& word) const {
  const int length = static_cast<int>(word.size());
  const bool grows = open || std::any_of(subPatterns.begin(), subPatterns.end(), isOpen);
  if (length < positions() || (!grows && length != positions())) return false;
  std::vector<bool> used(word.size(), false);

  std::function<bool(Counts&, size_t)> choose = [&](Counts& left, size_t k) {
    if (k == choiceLists.size()) return true;
    for (char c : choiceLists[k]) {
      if (left[c - 'a'] == 0) continue;
      --left[c - 'a'];
      const bool ok = choose(left, k + 1);
      ++left[c - 'a'];
      if (ok) return true;
    }
    return false;
  };
  std::function<bool(Counts&, size_t, std::vector<int>&)> bind = [&](Counts& left, size_t v,
                                                                     std::vector<int>& taken) {
    if (v == variables.size()) return choose(left, 0);
    for (int letter = 0; letter < 26; ++letter) {
      if (left[letter] < variables[v]) continue;
      if (std::find(taken.begin(), taken.end(), letter) != taken.end()) continue;
      left[letter] -= variables[v];
      taken.push_back(letter);
      const bool ok = bind(left, v + 1, taken);
      taken.pop_back();
      left[letter] += variables[v];
      if (ok) return true;
    }
    return false;
  };
  auto rest = [&]() {
    std::string free;
    for (size_t i = 0; i < word.size(); ++i) {
      if (!used[i]) free += word[i];
    }
    int spare = static_cast<int>(free.size()) - static_cast<int>(letters.size()) -
                static_cast<int>(choiceLists.size()) - matchAlls;
    for (int v : variables) spare -= v;
    if (spare < 0 || (!open && spare != 0)) return false;
    Counts left = countsOf(free);
    for (char c : letters) {
      if (--left[c - 'a'] < 0) return false;
    }
    std::vector<int> taken;
    return bind(left, 0, taken);
  };
  std::function<bool(size_t)> place = [&](size_t k) {
    if (k == subPatterns.size()) return rest();
    const std::string& sub = subPatterns[k];
    const size_t fixed = sub.size() - (isOpen(sub) ? 1 : 0);
    for (size_t s = 0; s + fixed <= word.size(); ++s) {
      const size_t longest = isOpen(sub) ? word.size() - s : fixed;
      for (size_t run = fixed; run <= longest; ++run) {
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

// The template decides the positions; the anagram's letters must all be in the word unless the
// word is shorter than the anagram, when that many of them may be missing.
bool templateWithLettersMatches(const std::regex& templ, const std::string& anagramLetters,
                                int anagramPositions, const std::string& word) {
  if (!std::regex_match(word, templ)) return false;
  const Counts have = countsOf(word);
  const Counts want = countsOf(anagramLetters);
  int missing = 0;
  for (int i = 0; i < 26; ++i) missing += std::max(0, want[i] - have[i]);
  return missing == 0 || missing <= anagramPositions - static_cast<int>(word.size());
}

}  // namespace qel::test
