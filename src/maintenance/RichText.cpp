// Plain text of a rich definition body, for the index: which words the body holds.
#include "maintenance/RichText.h"

#include "platform/RtfSyntax.h"

namespace qel::build {
namespace {

using namespace rtf;

bool leavesBlank(std::string_view word) {
  return isOneOf(word, {"bin", "par", "line", "tab", "emdash", "endash", "bullet", "lquote",
                        "rquote", "ldblquote", "rdblquote"});
}

}  // namespace

void reduceRichText(std::string_view s, std::string& text) {
  text.clear();
  size_t i = 0;
  bool groupStart = false;  // just after "{": a destination word would hide the group
  while (i < s.size()) {
    const char c = s[i];
    if (c == '\0' || c == '\n') return;
    if (c == '{') {
      ++i;
      groupStart = true;
      continue;
    }
    const bool atGroupStart = groupStart;
    groupStart = false;
    if (c == '}') {
      ++i;
      continue;
    }
    if (c != '\\') {
      text.push_back(c);
      ++i;
      continue;
    }
    if (i + 1 == s.size()) return;
    const char d = s[i + 1];
    if (d == '\'') {
      const int high = i + 2 < s.size() ? hexValue(s[i + 2]) : -1;
      const int low = i + 3 < s.size() ? hexValue(s[i + 3]) : -1;
      if (high < 0 || low < 0) {
        i += 2;
        continue;
      }
      const char byte = static_cast<char>(high * 16 + low);
      if (byte == '\0' || byte == '\n') return;
      text.push_back(byte);
      i += 4;
    } else if (d == '-' || d == '_') {
      text.push_back('-');
      i += 2;
    } else if (d == '\\' || d == '{' || d == '}') {
      text.push_back(d);
      i += 2;
    } else if (d == '*') {
      i = atGroupStart ? skipGroup(s, i + 2) : i + 2;
    } else if (isAsciiLetter(d)) {
      size_t j = i + 1;
      while (j < s.size() && isAsciiLetter(s[j])) ++j;
      const std::string_view word = s.substr(i + 1, j - i - 1);
      if (j + 1 < s.size() && s[j] == '-' && isDigit(s[j + 1])) ++j;
      while (j < s.size() && isDigit(s[j])) ++j;
      if (j < s.size() && s[j] == ' ') ++j;
      if (atGroupStart && isHiddenDestination(word)) {
        i = skipGroup(s, j);
      } else {
        if (leavesBlank(word)) text.push_back(' ');
        i = j;
      }
    } else {
      // Any other control symbol ("\~", "\:" ...) stands for its character.
      if (d == '\0' || d == '\n') return;
      text.push_back(d);
      i += 2;
    }
  }
}

}  // namespace qel::build
