// Conversion between UTF-8 and code page 1252, the single-byte character set of dictionary files,
// patterns and all core text. Used at the edges only: command line, text files, the GUI.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace qel::cp1252 {

// Converts UTF-8 to code page 1252. False (and `out` unspecified) when the text is not valid UTF-8
// or holds a character that code page 1252 cannot hold; `badOffset` then gives its byte offset,
// and `notUtf8` whether it was the first (bytes that are no UTF-8 at all).
bool fromUtf8(std::string_view utf8, std::string& out, size_t* badOffset = nullptr,
              bool* notUtf8 = nullptr);

std::string toUtf8(std::string_view text);
// Writes `text` as UTF-8 to `out`, which has room for kUtf8Growth bytes per byte of the text;
// returns the end of what was written.
inline constexpr size_t kUtf8Growth = 3;
char* writeUtf8(std::string_view text, char* out);

// The code page's byte for a Unicode code point; false when the code page lacks it.
bool fromCodePoint(uint32_t codePoint, char& byte);

}  // namespace qel::cp1252
