// The one reader of rich-text ("{\rtf1") definition bodies: it cuts a body into groups, text,
// control words and control symbols. What a body means (the words the index holds, the text a
// reader sees, the formatted text a window shows) is worked out by the readers built on it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace qel::rtf {

inline bool isRichText(std::string_view body) { return body.starts_with("{\\rtf1"); }

struct Token {
  enum class Kind {
    kGroupStart,  // "{"
    kGroupEnd,    // "}"
    kText,        // a run of characters without "\", "{" or "}" (line breaks included)
    kByte,        // "\'hh": the byte hh
    kWord,        // "\word" or "\wordN", with its optional number
    kSymbol,      // "\x" for any other character x
  };
  Kind kind = Kind::kText;
  std::string_view text;  // kText: the characters; kWord: the word
  long number = 0;        // kWord with hasNumber
  bool hasNumber = false;
  char symbol = 0;            // kSymbol: the character after the backslash
  uint8_t byte = 0;           // kByte
  bool atGroupStart = false;  // kWord, kSymbol: right after a "{" (a destination)
};

class Tokenizer {
 public:
  explicit Tokenizer(std::string_view body) : m_s(body) {}

  // The next token; false at the end of the body. A body cut short ends the tokens, never a read
  // past it.
  bool next(Token& token);
  // Skips the rest of the group the last token is in (after a destination that holds no text).
  void skipGroup();
  // Skips the fallback text of a "\uN": `count` characters, an escape counting as one.
  void skipFallback(int count);

 private:
  std::string_view m_s;
  size_t m_i = 0;
  bool m_groupStart = false;
};

// Destinations whose groups hold no text to read: tables, document information, pictures, field
// instructions, headers and footers, bookmarks. Every "{\*" group is one too.
bool isHiddenDestination(std::string_view word);

// Whether the token opens a group that holds no text: the reader should skipGroup().
inline bool startsHiddenGroup(const Token& token) {
  if (!token.atGroupStart) return false;
  if (token.kind == Token::Kind::kSymbol) return token.symbol == '*';
  return token.kind == Token::Kind::kWord && isHiddenDestination(token.text);
}

}  // namespace qel::rtf
