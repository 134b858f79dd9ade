// The limits of the pattern language and of the matcher, in one place. Reaching one is a pattern
// error or a bounded stop, never a crash or a hang.
#pragma once

#include "dictionary/FileFormat.h"

namespace qel::pattern {

// Letter positions one pattern or sub-pattern may always take (more: error 4).
inline constexpr int kMaxFixedPositions = 50;
// Distinct choice-list maps and anagram sub-patterns one compiled pattern may hold (more: error 3).
inline constexpr int kMaxLetterSets = 256;
// Patterns one set may join with "&" and "|" (more: error 3). Each is matched against every entry
// of every length the set can match.
inline constexpr int kMaxPatterns = 256;
// Logical groups may nest this deep (deeper: error 7).
inline constexpr int kMaxGroupDepth = 31;
// Sub-patterns and wildcard continuations may nest this deep (deeper: error 4). Bounds the
// recursion of both the compiler and the matcher.
inline constexpr int kMaxNestingDepth = 64;
// Elements (letters, match-alls, choice lists, variables, sub-patterns) of one anagram part
// (more: error 4). Bounds the matcher's recursion inside an anagram part.
inline constexpr int kMaxAnagramElements = 100;

// Word lengths that can be searched; length tables have kLengthSlots slots.
inline constexpr int kShortestWord = 1;
inline constexpr int kLongestWord = format::kMaxEntryLength;
inline constexpr int kLengthSlots = format::kMaxSlots;
// Extra length stored in a program header, and the maximum length of a pattern, are capped here.
inline constexpr int kExtraCap = 32;
// Extra length of a wildcard or an open-ended anagram: any number of letters.
inline constexpr int kUnboundedExtra = 15000;

inline constexpr int kVariableCount = 10;

// Attempts (sequence and body entries and placement states not already remembered, anagram picks)
// one match of one entry may make: a tenth of a second's work or so. Anagram parts of a dozen
// elements with four variable-length sub-patterns need up to about 1.5 million on the longest
// words. A match that needs more is abandoned, counts as no match and is reported.
inline constexpr long kMaxMatchSteps = 2000000;
// Units of the work a whole search counts, in the time they take: an attempt and a remembered
// outcome used are one each; an outcome stored, with the memory it reaches, and an anagram part,
// whose letters are counted afresh, take about four.
inline constexpr long kStoreWork = 4;
inline constexpr long kAnagramWork = 4;

}  // namespace qel::pattern
