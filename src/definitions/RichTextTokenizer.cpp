// Tokens of rich text, read with an explicit end: a backslash, "\'" or a number at the very end
// of a body ends it.
#include "definitions/RichTextTokenizer.h"

#include <initializer_list>

namespace qel::rtf {
namespace {

bool isAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

bool isHiddenDestination(std::string_view word) {
  for (std::string_view hidden : {"fonttbl",
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
                                  "footnote",
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
                                  "generator",
                                  "bkmkstart",
                                  "bkmkend"}) {
    if (hidden == word) return true;
  }
  return false;
}

bool Tokenizer::next(Token& token) {
  token = Token{};
  token.atGroupStart = m_groupStart;
  m_groupStart = false;
  if (m_i >= m_s.size()) return false;
  const char c = m_s[m_i];
  if (c == '{') {
    token.kind = Token::Kind::kGroupStart;
    ++m_i;
    m_groupStart = true;
    return true;
  }
  if (c == '}') {
    token.kind = Token::Kind::kGroupEnd;
    ++m_i;
    return true;
  }
  if (c != '\\') {
    size_t j = m_i;
    while (j < m_s.size() && m_s[j] != '\\' && m_s[j] != '{' && m_s[j] != '}') ++j;
    token.kind = Token::Kind::kText;
    token.text = m_s.substr(m_i, j - m_i);
    m_i = j;
    return true;
  }
  if (m_i + 1 >= m_s.size()) {
    m_i = m_s.size();
    return false;
  }
  const char d = m_s[m_i + 1];
  if (d == '\'') {
    const int high = m_i + 2 < m_s.size() ? hexValue(m_s[m_i + 2]) : -1;
    const int low = m_i + 3 < m_s.size() ? hexValue(m_s[m_i + 3]) : -1;
    if (high < 0 || low < 0) {
      m_i += 2;  // a broken escape means nothing
      return next(token);
    }
    token.kind = Token::Kind::kByte;
    token.byte = static_cast<uint8_t>(high * 16 + low);
    m_i += 4;
    return true;
  }
  if (!isAsciiLetter(d)) {
    token.kind = Token::Kind::kSymbol;
    token.symbol = d;
    m_i += 2;
    return true;
  }
  size_t j = m_i + 1;
  while (j < m_s.size() && isAsciiLetter(m_s[j])) ++j;
  token.kind = Token::Kind::kWord;
  token.text = m_s.substr(m_i + 1, j - m_i - 1);
  const bool negative = j + 1 < m_s.size() && m_s[j] == '-' && isDigit(m_s[j + 1]);
  if (negative) ++j;
  long number = 0;
  while (j < m_s.size() && isDigit(m_s[j])) {
    token.hasNumber = true;
    if (number < 100000000) number = number * 10 + (m_s[j] - '0');
    ++j;
  }
  token.number = negative ? -number : number;
  if (j < m_s.size() && m_s[j] == ' ') ++j;  // the delimiting space belongs to the word
  m_i = j;
  return true;
}

void Tokenizer::skipGroup() {
  int depth = 1;
  while (m_i < m_s.size() && depth > 0) {
    const char c = m_s[m_i];
    if (c == '\\') {
      m_i += 2;
      continue;
    }
    if (c == '{') ++depth;
    if (c == '}') --depth;
    ++m_i;
  }
  if (m_i > m_s.size()) m_i = m_s.size();
  m_groupStart = false;
}

void Tokenizer::skipFallback(int count) {
  for (int k = 0; k < count && m_i < m_s.size(); ++k) {
    const char c = m_s[m_i];
    if (c == '{' || c == '}') return;
    if (c != '\\') {
      ++m_i;
    } else if (m_i + 1 < m_s.size() && m_s[m_i + 1] == '\'') {
      m_i += 4;
    } else {
      return;  // a control word ends the fallback
    }
  }
  if (m_i > m_s.size()) m_i = m_s.size();
}

}  // namespace qel::rtf
