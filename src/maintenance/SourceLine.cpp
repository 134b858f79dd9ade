#include "maintenance/SourceLine.h"

#include <algorithm>

namespace qel::build {

void SourceLine::parse(std::string_view line, const ByteTable& canonical) {
  const size_t cut = line.find_first_of(std::string_view("\0\n", 2));
  if (cut != std::string_view::npos) line = line.substr(0, cut);
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);

  m_text.clear();
  m_fields.clear();
  m_hasBody = false;
  m_body = {};

  enum class Part { Word, Annotation, Tail };
  size_t i = 0;
  const size_t n = line.size();
  for (;;) {
    SourceField f;
    f.begin = static_cast<uint32_t>(m_text.size());
    Part part = Part::Word;
    auto closeWord = [&] { f.wordEnd = static_cast<uint32_t>(m_text.size()); };
    while (i < n) {
      char c = line[i];
      if (c == ':' || c == ';' || c == '|') {
        f.terminator = c;
        ++i;
        break;
      }
      f.empty = false;
      if (c == '+' && part == Part::Tail) {  // closes the heading text; the rest is ignored
        while (i < n && line[i] != ':' && line[i] != ';' && line[i] != '|') {
          i += line[i] == '\\' ? 2 : 1;
        }
        i = std::min(i, n);
        continue;
      }
      if (c == '+') {
        if (part == Part::Word) {
          closeWord();
          if (i + 1 < n && line[i + 1] == '+') {  // no annotation, only a heading text
            f.end = f.wordEnd;
            part = Part::Tail;
            i += 2;
          } else {
            m_text.push_back('\n');
            part = Part::Annotation;
            ++i;
          }
        } else {
          f.end = static_cast<uint32_t>(m_text.size());
          part = Part::Tail;
          ++i;
        }
        continue;
      }
      if (c == '\\') {
        if (i + 1 == n) {  // nothing left to escape
          ++i;
          continue;
        }
        c = line[i + 1];
        i += 2;
      } else {
        ++i;
      }
      m_text.push_back(c);
      if (part == Part::Word && canonical[static_cast<uint8_t>(c)] != 0) ++f.letters;
    }
    if (part == Part::Word) closeWord();
    if (part != Part::Tail) f.end = static_cast<uint32_t>(m_text.size());
    f.tailEnd = static_cast<uint32_t>(m_text.size());
    if (part == Part::Annotation && f.end == f.wordEnd + 1) {
      // "word+" with nothing after it: an empty annotation would only make a second entry that
      // looks the same as "word".
      m_text.pop_back();
      f.end = f.tailEnd = f.wordEnd;
    }
    m_fields.push_back(f);
    if (f.terminator == '|') {
      m_hasBody = true;
      m_body = line.substr(i);
      return;
    }
    if (f.terminator == 0) return;
  }
}

size_t SourceLine::headingFieldCount() const {
  for (size_t k = 0; k < m_fields.size(); ++k) {
    if (m_fields[k].terminator == ';') return k + 1;
  }
  return m_fields.size();
}

int SourceLine::definitionPass(const std::vector<bool>& kept) const {
  size_t last = m_fields.size();
  for (size_t k = 0; k < m_fields.size(); ++k) {
    if (m_fields[k].terminator == ';') last = k;
  }
  if (last == m_fields.size()) return 2;
  for (size_t k = 0; k <= last; ++k) {
    if (kept[k]) return 2;
  }
  return 1;
}

namespace {

void appendEscaped(std::string& out, std::string_view text) {
  for (char c : text) {
    if (c == ':' || c == ';' || c == '|' || c == '+' || c == '\\') out.push_back('\\');
    out.push_back(c);
  }
}

}  // namespace

std::string entryField(std::string_view word, std::string_view annotation) {
  std::string field;
  field.reserve(word.size() + annotation.size() + 8);
  appendEscaped(field, word);
  if (!annotation.empty()) {
    field.push_back('+');
    appendEscaped(field, annotation);
    field.push_back('+');
  }
  return field;
}

}  // namespace qel::build
