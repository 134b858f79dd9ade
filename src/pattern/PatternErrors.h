// Error indices of the pattern parser; the message shown is string kPatternMessageBase + index.
#pragma once

#include <cstdint>

namespace qel::pattern {

inline constexpr int kPatternMessageBase = 13080;

enum PatternError : uint8_t {
  kValid = 0,
  kNothingToMatch = 1,  // also the state of an engine that was never compiled
  kChoiceListBadCharacter = 2,
  kTooManyLetterSets = 3,
  kTooLong = 4,
  kChoiceListUnfinished = 5,
  kSecondSemicolon = 6,
  kSubPatternUnfinished = 7,
  kStrayCloseBracket = 8,
  kStrayCloseSquare = 9,
  kReservedTooManyNonAlphabetic = 10,  // never raised
  kAnagramBadCharacter = 11,
  kCaretOutsideChoiceList = 12,
  kBackslashAtEnd = 13,
  kEmptyChoiceList = 14,
};

}  // namespace qel::pattern
