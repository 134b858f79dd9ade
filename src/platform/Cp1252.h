// Conversion between UTF-8 and code page 1252, the single-byte character set of dictionary files,
// patterns and all core text. Used at the edges only: command line, text files, the GUI.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qel::cp1252 {

// Converts UTF-8 to code page 1252. False (and `out` unspecified) when the text is not valid UTF-8
// or holds a character that code page 1252 cannot hold; `badOffset` then gives its byte offset.
bool fromUtf8(std::string_view utf8, std::string& out, size_t* badOffset = nullptr);

std::string toUtf8(std::string_view text);
// Converts `text` to UTF-8 at the end of `out`.
void appendUtf8(std::string_view text, std::string& out);

// The code page's byte for a Unicode code point; false when the code page lacks it.
bool fromCodePoint(uint32_t codePoint, char& byte);

}  // namespace qel::cp1252
