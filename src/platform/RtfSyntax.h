// The pieces of rich-text syntax that both readers of rich definition bodies need: the one that
// shows a body as plain text and the one that finds the words the builder indexes.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <string_view>

namespace qel::rtf {

inline bool isAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
inline bool isDigit(char c) { return c >= '0' && c <= '9'; }

inline int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

inline bool isOneOf(std::string_view word, std::initializer_list<std::string_view> words) {
  for (std::string_view w : words) {
    if (w == word) return true;
  }
  return false;
}

// Destinations whose groups hold no text to read: tables, document information, pictures, field
// instructions, headers and footers, bookmarks.
inline bool isHiddenDestination(std::string_view word) {
  return isOneOf(word, {"fonttbl", "colortbl", "stylesheet", "info", "pict", "object", "header",
                        "headerl", "headerr", "headerf", "footer", "footerl", "footerr", "footerf",
                        "footnote", "listtable", "listoverridetable", "revtbl", "rsidtbl",
                        "fldinst", "filetbl", "xmlnstbl", "themedata", "colorschememapping",
                        "latentstyles", "datastore", "generator", "bkmkstart", "bkmkend"});
}

// Index just past the brace that closes the group whose content starts at `i` (or the end).
inline size_t skipGroup(std::string_view s, size_t i) {
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

}  // namespace qel::rtf
