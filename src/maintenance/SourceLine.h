// Reading one line of a builder source: the entry fields before the first "|" (with backslash
// escapes and "+" annotations) and the definition body after it.
//
//   line  = field { (":" | ";") field } [ "|" body ]
//   field = word [ "+" annotation [ "+" heading [ "+" ignored ] ] ]
//         | word "++" heading [ "+" ignored ]
//
// Each field is an entry: its word, and its annotation after a line feed. ":" and ";" both
// separate fields; a ";" also ends the head words of the line (see headingFieldCount and
// definitionPass). Word and heading make the field's heading pair in the definition record.
// A backslash makes the next character plain text; the body is taken as it is.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "maintenance/BuildAlphabet.h"

namespace qel::build {

// Longest entry text (word, line feed and annotation) that is written. A reader decodes an entry
// into 900 bytes together with its two terminators; one byte more is kept spare.
inline constexpr size_t kMaxEntryText = 897;

struct SourceField {
  // Offsets into SourceLine::text: [begin, wordEnd) is the word as displayed, [wordEnd, end) the
  // line feed and annotation (empty without one), [end, tailEnd) the text after the closing "+".
  uint32_t begin = 0;
  uint32_t wordEnd = 0;
  uint32_t end = 0;
  uint32_t tailEnd = 0;
  int letters = 0;      // letters of the word
  char terminator = 0;  // ':', ';', '|' or 0 at the end of the line
  bool empty = true;    // the field held no character at all
};

class SourceLine {
 public:
  // Splits `line`; bytes from the first NUL or line feed on are not part of it, nor is a final CR.
  void parse(std::string_view line, const ByteTable& canonical);

  const std::vector<SourceField>& fields() const { return m_fields; }
  std::string_view entryText(const SourceField& f) const { return view(f.begin, f.end); }
  std::string_view word(const SourceField& f) const { return view(f.begin, f.wordEnd); }
  std::string_view tail(const SourceField& f) const { return view(f.end, f.tailEnd); }
  bool hasBody() const { return m_hasBody; }
  std::string_view body() const { return m_body; }
  // The word of the first field, for progress lines.
  std::string_view firstWord() const { return word(m_fields.front()); }

  // Fields that give heading pairs: up to and including the first one ended by ";", or all.
  size_t headingFieldCount() const;
  // 1 when the line has a ";" and none of the fields up to the last ";" is kept, else 2. `kept`
  // holds one flag per field.
  int definitionPass(const std::vector<bool>& kept) const;

 private:
  std::string_view view(uint32_t from, uint32_t to) const {
    return std::string_view(m_text).substr(from, to - from);
  }

  std::string m_text;  // unescaped text of all fields
  std::vector<SourceField> m_fields;
  bool m_hasBody = false;
  std::string_view m_body;  // into the caller's line
};

// The source text of one field that parse() reads back as `word` with `annotation` (none when
// empty): "word+annotation+", with every character the line syntax gives a meaning escaped.
std::string entryField(std::string_view word, std::string_view annotation);

}  // namespace qel::build
