// Rich-text definition bodies read as plain text: for the words of the full-text index, and for
// output that cannot show formatting (the command-line tool, copies as text).
#pragma once

#include <string>
#include <string_view>

namespace qel::rtf {

// The text whose words the full-text index holds. Groups that hold no text go; "\'hh" gives the
// byte hh; "\-" and "\_" give "-"; "\\", "\{" and "\}" give the character escaped; control words
// that stand for a break or a typographic mark (par, line, tab, bullet, dashes, quotes, bin) leave
// a blank. The text ends at the first NUL or line feed. Stored indexes were built this way: the
// sequential search must read bodies exactly so.
void indexText(std::string_view body, std::string& text);

// The text a control word stands for in the visible text (a break, a tab, a typographic mark in
// code page 1252), or null for one that only formats.
const char* controlWordText(std::string_view word);

// The visible text: paragraph and line breaks become line feeds, "\tab" a tab, "\'hh" the byte
// hh, "\uN" the character N when code page 1252 has it (else its fallback text), typographic
// marks their code page 1252 characters. A body that is not rich text is returned as it is.
std::string plainText(std::string_view body);

}  // namespace qel::rtf
