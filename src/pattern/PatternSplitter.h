// Splits the pattern box text into patterns joined by "&" and "|", each with the group brackets
// and "!" signs that stand around it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qel::pattern {

// Operation codes of a pattern set: the low three bits, plus kNegate.
inline constexpr uint8_t kOr = 1;   // the next part counts only if the result so far is false
inline constexpr uint8_t kAnd = 2;  // the next part counts only if the result so far is true
inline constexpr uint8_t kEndOfExpression = 3;
inline constexpr uint8_t kGroupOpen = 4;
inline constexpr uint8_t kGroupClose = 5;
inline constexpr uint8_t kNegate = 8;
inline constexpr uint8_t kOperationMask = 7;

struct PatternSegment {
  std::string text;           // the pattern itself
  std::vector<bool> openers;  // group brackets before it; true when a "!" preceded the bracket
  bool negated = false;       // a "!" in front of the pattern
  int closers = 0;            // group brackets after it
  uint8_t connective = kEndOfExpression;  // the operator after it
};

// A backslash escapes the character after it everywhere. "!" counts only at the front of a
// pattern or of a group; an operator with nothing after it yields an empty pattern.
std::vector<PatternSegment> splitPatterns(std::string_view text);

}  // namespace qel::pattern
