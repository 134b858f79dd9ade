// Reduces a rich-text definition body to the plain text whose words go into the full-text index.
// The body itself is stored unchanged; this is only for finding its words.
#pragma once

#include <string>
#include <string_view>

namespace qel::build {

inline bool isRichText(std::string_view body) { return body.starts_with("{\\rtf1"); }

// Braces and control words go; "\'hh" gives the byte hh; "\-" and "\_" give "-"; "\\", "\{" and
// "\}" give the character escaped; control words that stand for a break or a typographic mark
// (par, line, tab, bullet, dashes, quotes, bin) leave a blank. Groups that hold no text to read
// (font and colour tables, style sheet, document information, pictures, fields' instructions and
// every "{\*" group) are left out whole, so that font names and the like are not indexed. The text
// ends at the first NUL or line feed.
void reduceRichText(std::string_view body, std::string& text);

}  // namespace qel::build
