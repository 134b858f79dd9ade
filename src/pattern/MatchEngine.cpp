// MatchEngine: compile, length range and the entry point of the matcher.
#include "pattern/MatchEngine.h"

#include <algorithm>

#include "pattern/PatternCompiler.h"
#include "pattern/PatternLimits.h"
#include "pattern/ProgramDump.h"

namespace qel {

using pattern::kLongestWord;
using pattern::kShortestWord;

void MatchEngine::compile(const Alphabet& alphabet, std::string_view text,
                          bool exclusiveVariables) {
  m_alphabet = &alphabet;
  m_compiled = pattern::compilePattern(alphabet, text);
  m_compiled.exclusiveVariables = exclusiveVariables;
  setCurrentLength(m_currentLength);
}

void MatchEngine::setShortest(int shortest) {
  m_shortest = std::clamp(shortest, kShortestWord, kLongestWord);
}

void MatchEngine::setLongest(int longest) {
  m_longest = std::clamp(longest, kShortestWord, kLongestWord);
}

int MatchEngine::minimumLength() const { return std::max(m_shortest, fixedLength()); }

int MatchEngine::maximumLength() const { return std::min(m_longest, patternMaximum()); }

bool MatchEngine::acceptsLength(int length) const {
  return valid() && length >= minimumLength() && length <= maximumLength();
}

void MatchEngine::setCurrentLength(int length) {
  m_currentLength = length;
  m_currentExtra = length - fixedLength();
}

bool MatchEngine::match(const uint8_t* letters, const char* text,
                        pattern::MatchScratch& scratch) const {
  scratch.balance.useCount = 0;
  if (!valid() || m_alphabet == nullptr || letters == nullptr) return false;
  const pattern::MatchSubject subject{letters, m_currentLength, text};
  return pattern::matchEntry(m_compiled, *m_alphabet, subject, scratch);
}

std::string MatchEngine::dump() const {
  if (m_alphabet == nullptr) return "invalid\n";
  return pattern::dumpProgram(m_compiled, *m_alphabet);
}

}  // namespace qel
