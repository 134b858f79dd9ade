// Brackets that open and close within one segment enclose sub-patterns; the others are group
// brackets, except that brackets opened before a "!" must be groups for the "!" to be at a front.
#include "pattern/PatternSplitter.h"

#include <algorithm>

namespace qel::pattern {
namespace {

// Whether the character at i is escaped: an odd run of backslashes right before it.
bool isEscaped(std::string_view s, size_t i) {
  size_t run = 0;
  while (i > run && s[i - run - 1] == '\\') ++run;
  return run % 2 == 1;
}

PatternSegment makeSegment(std::string_view segment, uint8_t connective) {
  int opens = 0;
  int closes = 0;
  int opensBeforeNegation = 0;
  for (size_t i = 0; i < segment.size(); ++i) {
    const char c = segment[i];
    if (c == '\\') {
      ++i;
    } else if (c == '(') {
      ++opens;
    } else if (c == ')') {
      ++closes;
    } else if (c == '!') {
      opensBeforeNegation = opens;
    }
  }
  int pairs = std::min(opens, closes);
  if (opens - pairs < opensBeforeNegation) pairs = opens - opensBeforeNegation;
  int openers = opens - pairs;
  int closers = closes - pairs;

  PatternSegment result;
  result.connective = connective;
  size_t end = segment.size();
  while (end > 0) {
    const char last = segment[end - 1];
    const bool escaped = isEscaped(segment, end - 1);
    if (closers > 0 && last == ')' && !escaped) {
      --closers;
      ++result.closers;
    } else if (last != ' ' || escaped) {
      break;
    }
    --end;
  }
  size_t begin = 0;
  bool negation = false;
  for (; begin < end; ++begin) {
    const char c = segment[begin];
    if (openers > 0 && c == '(') {
      result.openers.push_back(negation);
      negation = false;
      --openers;
    } else if (c == '!') {
      negation = !negation;
    } else if (c != ' ') {
      break;
    }
  }
  result.negated = negation;
  result.text = std::string(segment.substr(begin, end - begin));
  return result;
}

}  // namespace

std::vector<PatternSegment> splitPatterns(std::string_view text) {
  std::vector<PatternSegment> segments;
  size_t pos = 0;
  for (;;) {
    size_t separator = text.size();
    uint8_t connective = kEndOfExpression;
    for (size_t i = pos; i < text.size(); ++i) {
      if (text[i] == '\\') {
        ++i;
      } else if (text[i] == '&' || text[i] == '|') {
        separator = i;
        connective = text[i] == '&' ? kAnd : kOr;
        break;
      }
    }
    segments.push_back(makeSegment(text.substr(pos, separator - pos), connective));
    if (separator == text.size()) break;
    pos = separator + 1;
  }
  return segments;
}

}  // namespace qel::pattern
