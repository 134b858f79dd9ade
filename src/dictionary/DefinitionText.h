// A definition body as plain text, for output that cannot show rich text (the command-line tool,
// copies as text).
#pragma once

#include <string>
#include <string_view>

namespace qel {

inline bool isRichTextBody(std::string_view body) { return body.starts_with("{\\rtf"); }

// Rich text ("{\rtf...") is reduced to its visible text: paragraph and line breaks become line
// feeds, "\tab" a tab, "\'hh" the byte hh, "\uN" the character N when code page 1252 has it
// (else its fallback text), typographic marks their code page 1252 characters; font and colour
// tables and other groups that hold no visible text are left out. Plain text is returned as it
// is. Both are code page 1252.
std::string definitionPlainText(std::string_view body);

}  // namespace qel
