#include "maintenance/RichText.h"

#include <initializer_list>

namespace qel::build {
namespace {

bool isAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool isOneOf(std::string_view word, std::initializer_list<std::string_view> words) {
  for (std::string_view w : words) {
    if (w == word) return true;
  }
  return false;
}

bool leavesBlank(std::string_view word) {
  return isOneOf(word, {"bin", "par", "line", "tab", "emdash", "endash", "bullet", "lquote",
                        "rquote", "ldblquote", "rdblquote"});
}

bool isHiddenDestination(std::string_view word) {
  return isOneOf(word, {"fonttbl",
                        "colortbl",
                        "stylesheet",
                        "info",
                        "pict",
                        "object",
                        "header",
                        "headerl",
                        "headerr",
                        "headerf",
                        "footer",
                        "footerl",
                        "footerr",
                        "footerf",
                        "listtable",
                        "listoverridetable",
                        "revtbl",
                        "rsidtbl",
                        "fldinst",
                        "filetbl",
                        "xmlnstbl",
                        "themedata",
                        "colorschememapping",
                        "latentstyles",
                        "datastore",
                        "generator"});
}

// Index just past the brace that closes the group whose content starts at `i`.
size_t skipGroup(std::string_view s, size_t i) {
  int depth = 1;
  while (i < s.size() && depth > 0) {
    const char c = s[i];
    if (c == '\\') {
      i += 2;
      continue;
    }
    if (c == '{') ++depth;
    if (c == '}') --depth;
    ++i;
  }
  return i < s.size() ? i : s.size();
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
