// Errors of the pattern parser. The value is the error index that picks the message shown (see
// app/Messages.h, which turns it into a message number and text).
#pragma once

#include <cstdint>

namespace qel::pattern {

enum class PatternError : uint8_t {
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

inline uint8_t errorIndex(PatternError error) { return static_cast<uint8_t>(error); }

}  // namespace qel::pattern
