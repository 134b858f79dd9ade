// One pattern compiled for one dictionary alphabet, with the user's Shortest/Longest and the
// length of the entries about to be matched.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "dictionary/Alphabet.h"
#include "pattern/CompiledPattern.h"
#include "pattern/Matcher.h"
#include "pattern/PatternLimits.h"

namespace qel {

class MatchEngine {
 public:
  MatchEngine() = default;

  // Compiles one pattern (no logical operators). The alphabet must outlive the engine.
  void compile(const Alphabet& alphabet, std::string_view pattern, bool exclusiveVariables = true);
  bool valid() const { return m_compiled.valid; }
  // kValid after a successful compile, kNothingToMatch before any compile.
  pattern::PatternError error() const { return m_compiled.error; }

  // Clamped into 1..kLongestWord.
  void setShortest(int shortest);
  void setLongest(int longest);
  int shortest() const { return m_shortest; }
  int longest() const { return m_longest; }

  int fixedLength() const { return m_compiled.fixedLength; }
  // Fixed length plus extra length, at most 32.
  int patternMaximum() const { return m_compiled.maximumLength; }
  // The lengths this engine is asked to match: Shortest/Longest narrowed by the pattern.
  int minimumLength() const;
  int maximumLength() const;
  bool acceptsLength(int length) const;

  void setCurrentLength(int length);
  int currentLength() const { return m_currentLength; }
  int currentExtra() const { return m_currentExtra; }

  // Matches an entry of the current length. The scratch receives the anagram balance.
  bool match(const uint8_t* letters, const char* text, pattern::MatchScratch& scratch) const;

  bool hasPunctuation() const { return m_compiled.hasPunctuation; }
  pattern::MatcherKind matcherKind() const { return m_compiled.matcher; }
  const pattern::CompiledPattern& compiled() const { return m_compiled; }
  const Alphabet* alphabet() const { return m_alphabet; }
  std::string dump() const;

 private:
  pattern::CompiledPattern m_compiled;
  const Alphabet* m_alphabet = nullptr;
  int m_shortest = 1;
  int m_longest = pattern::kLongestWord;
  int m_currentLength = 0;
  int m_currentExtra = 0;
};

}  // namespace qel
