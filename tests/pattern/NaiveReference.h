// A deliberately simple model of patterns for cross-checking the matcher: templates become
// std::regex expressions, anagrams are decided by letter counts and brute force.
#pragma once

#include <regex>
#include <string>
#include <vector>

namespace qel::test {

struct TemplateToken {
  enum Kind { Letter, Any, Choice, NegatedChoice, Variable, Star, Punctuation } kind;
  char c = 0;       // letter, variable digit or punctuation character
  std::string set;  // letters of a choice list
};

struct Template {
  std::vector<TemplateToken> tokens;
  std::string text() const;  // in the pattern language
  // Over a word's letters (a-z), or over its whole text with letters folded to a-z.
  std::regex regex(bool overText) const;
  int fixed() const;
  bool open() const;
};

struct Anagram {
  std::string letters;                    // plain letters
  int matchAlls = 0;
  std::vector<std::string> choiceLists;   // letters of each list
  std::vector<int> variables;             // occurrences of variables 1, 2, ...
  std::vector<std::string> subPatterns;   // letters and ".", maybe ending with "*"
  bool open = false;                      // "*"
  std::string text(unsigned shuffleSeed) const;
  int positions() const;
  bool matches(const std::string& word) const;  // word: letters a-z
};

// The reference's answer when a template and a letters-only anagram part share one pattern.
bool templateWithLettersMatches(const std::regex& templ, const std::string& anagramLetters,
                                int anagramPositions, const std::string& word);

}  // namespace qel::test
