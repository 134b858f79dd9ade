#include "pattern/PlainGroups.h"

#include "pattern/PatternLimits.h"

namespace qel::pattern {

std::string withoutPlainGroups(std::string_view pattern, const Alphabet& alphabet) {
  const auto isLetter = [&alphabet](uint8_t c) {
    return alphabet.letterIndex[c] != kNotALetter && !(c >= '0' && c <= '9');
  };
  std::string plain;
  int depth = 0;
  bool bracketed = false;
  for (size_t i = 0; i < pattern.size(); ++i) {
    const uint8_t c = static_cast<uint8_t>(pattern[i]);
    if (c == '(') {
      // An empty group is an error the compiler reports; depth has its own limit.
      if (i + 1 < pattern.size() && pattern[i + 1] == ')') return std::string(pattern);
      if (++depth > kMaxNestingDepth) return std::string(pattern);
      bracketed = true;
    } else if (c == ')') {
      if (--depth < 0) return std::string(pattern);
    } else if (c == '[') {
      // A choice list of letters, "^" first for a negated one; anything else is left as typed.
      size_t end = i + 1;
      if (end < pattern.size() && pattern[end] == '^') ++end;
      const size_t first = end;
      while (end < pattern.size() && isLetter(static_cast<uint8_t>(pattern[end]))) ++end;
      if (end == first || end >= pattern.size() || pattern[end] != ']') return std::string(pattern);
      plain.append(pattern.substr(i, end + 1 - i));
      i = end;
    } else if (isLetter(c) || (c >= '0' && c <= '9') || c == '.' || c == '?' || c == '*') {
      plain.push_back(static_cast<char>(c));
    } else {
      return std::string(pattern);
    }
  }
  if (depth != 0 || !bracketed) return std::string(pattern);
  return plain;
}

}  // namespace qel::pattern
