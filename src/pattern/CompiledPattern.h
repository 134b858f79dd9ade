// The result of compiling one pattern for one alphabet: the program, its letter-set table and the
// numbers the search and the matcher need.
#pragma once

#include <array>
#include <bitset>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "pattern/PatternErrors.h"

namespace qel::pattern {

using Bytes = std::vector<uint8_t>;
using LetterSet = std::bitset<256>;

enum class MatcherKind {
  General,         // the program interpreter
  Template,        // one run of letters and match-alls
  AnagramOnce,     // a plain anagram, no letter twice
  AnagramCounted,  // a plain anagram with repeated letters
  Affix,           // letters at the start and at the end with one wildcard between ("un*", "*ing")
  ChoiceRun,       // one run of letters, match-alls and choice lists ("[bc]a[rt]", "@#@#")
  AnagramBlanks,   // a plain anagram with match-alls (";..oting"), which leaves a balance
  VariableTemplate,  // one run of letters, match-alls and letter variables ("12341234", "a1b1")
};

struct CompiledPattern {
  Bytes program;
  // Choice-list membership maps (256 bytes, 1 = allowed) and programs of sub-patterns that stand
  // in anagram parts; an equal string is stored once.
  std::vector<Bytes> letterSets;
  // For each letter-set entry that is a sub-pattern, the letters its first position allows.
  std::vector<LetterSet> firstLetters;
  int fixedLength = 0;
  int maximumLength = 0;                               // fixed + extra, at most kExtraCap
  PatternError error = PatternError::kNothingToMatch;  // until compiled
  bool valid = false;
  bool hasPunctuation = false;
  bool hasExactCharacters = false;
  bool hasVariables = false;
  // Different letter variables stand for different letters (the user's option, fixed at compile).
  bool exclusiveVariables = true;
  // Anagram parts inside sub-patterns, or sub-patterns inside anagram parts: their matches leave
  // balance counts and use letter marks, so only the failures of their sequences are remembered.
  bool hasNestedAnagram = false;
  // A pattern with letter variables and no anagram part, whose letters and variables each take a
  // position of their own: a word must hold at least `letterUses` of each letter, and a variable
  // can only stand for a letter the word holds `variableUses` more times. The matcher rejects
  // words and bindings that cannot fit before it tries places for them.
  bool countsLetters = false;
  std::vector<uint8_t> letterUses;  // per letter index (256), when countsLetters
  std::vector<std::pair<uint8_t, uint8_t>> lettersUsed;  // (letter index, uses) of those used
  std::array<uint8_t, 10> variableUses{};
  MatcherKind matcher = MatcherKind::General;
  size_t fastOperand = 0;  // offset of the run or letters item a fast matcher reads
  size_t fastSuffix = 0;   // affix matcher: offset of the run after the wildcard, 0 if none
  // Variable template matcher: the run's checks by position, so that a match needs no bindings.
  // Three lists, each a count and its entries: (position, letter) for the letters; (position,
  // earlier position) for each later occurrence of a variable, which must repeat its first; the
  // first position of each variable, whose letters must differ when variables are exclusive.
  Bytes templateChecks;
};

}  // namespace qel::pattern
