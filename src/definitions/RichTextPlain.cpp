// The two plain readings of rich text, over the shared tokenizer.
#include "definitions/RichTextPlain.h"

#include <cstdint>
#include <initializer_list>
#include <vector>

#include "definitions/RichTextTokenizer.h"
#include "platform/Cp1252.h"

namespace qel::rtf {
namespace {

using Kind = Token::Kind;

bool leavesBlank(std::string_view word) {
  for (std::string_view w : {"bin", "par", "line", "tab", "emdash", "endash", "bullet", "lquote",
                             "rquote", "ldblquote", "rdblquote"}) {
    if (w == word) return true;
  }
  return false;
}

}  // namespace

const char* controlWordText(std::string_view word) {
  struct Entry {
    std::string_view word;
    const char* text;
  };
  static constexpr Entry kWords[] = {
      {"par", "\n"},         {"line", "\n"},        {"sect", "\n"},     {"page", "\n"},
      {"row", "\n"},         {"cell", "\t"},        {"tab", "\t"},      {"emdash", "\x97"},
      {"endash", "\x96"},    {"bullet", "\x95"},    {"lquote", "\x91"}, {"rquote", "\x92"},
      {"ldblquote", "\x93"}, {"rdblquote", "\x94"}, {"emspace", " "},   {"enspace", " "},
  };
  for (const Entry& e : kWords) {
    if (e.word == word) return e.text;
  }
  return nullptr;
}

void indexText(std::string_view body, std::string& text) {
  text.clear();
  Tokenizer tokens(body);
  for (Token t; tokens.next(t);) {
    if (startsHiddenGroup(t)) {
      tokens.skipGroup();
      continue;
    }
    switch (t.kind) {
      case Kind::kText:
        for (char c : t.text) {
          if (c == '\0' || c == '\n') return;
          text.push_back(c);
        }
        break;
      case Kind::kByte:
        if (t.byte == '\0' || t.byte == '\n') return;
        text.push_back(static_cast<char>(t.byte));
        break;
      case Kind::kSymbol:
        if (t.symbol == '\0' || t.symbol == '\n') return;
        if (t.symbol == '*') break;  // not at a group's start: means nothing
        text.push_back(t.symbol == '_' ? '-' : t.symbol);
        break;
      case Kind::kWord:
        if (leavesBlank(t.text)) text.push_back(' ');
        break;
      case Kind::kGroupStart:
      case Kind::kGroupEnd:
        break;
    }
  }
}

std::string plainText(std::string_view body) {
  if (!isRichText(body)) return std::string(body);
  std::string out;
  std::vector<int> fallback{1};  // per group: characters of fallback text after a "\uN"
  Tokenizer tokens(body);
  for (Token t; tokens.next(t);) {
    if (startsHiddenGroup(t)) {
      tokens.skipGroup();
      if (fallback.size() > 1) fallback.pop_back();
      continue;
    }
    switch (t.kind) {
      case Kind::kGroupStart:
        fallback.push_back(fallback.back());
        break;
      case Kind::kGroupEnd:
        if (fallback.size() > 1) fallback.pop_back();
        break;
      case Kind::kText:
        for (char c : t.text) {
          if (c != '\r' && c != '\n') out.push_back(c);  // line breaks in the source are not text
        }
        break;
      case Kind::kByte:
        out.push_back(static_cast<char>(t.byte));
        break;
      case Kind::kSymbol:
        // "\~" a no-break space, "\-" an optional hyphen, "\_" a hyphen, an escaped line break a
        // paragraph break; any other stands for its character.
        if (t.symbol == '~') {
          out.push_back('\xA0');
        } else if (t.symbol == '_') {
          out.push_back('-');
        } else if (t.symbol == '\r' || t.symbol == '\n') {
          out.push_back('\n');
        } else if (t.symbol != '-' && t.symbol != '*') {
          out.push_back(t.symbol);
        }
        break;
      case Kind::kWord:
        if (t.text == "uc" && t.hasNumber && t.number >= 0 && t.number < 10) {
          fallback.back() = static_cast<int>(t.number);
        } else if (t.text == "u" && t.hasNumber) {
          const uint32_t u = static_cast<uint16_t>(static_cast<int16_t>(t.number));
          char byte = 0;
          if (u != 0 && cp1252::fromCodePoint(u, byte)) {
            out.push_back(byte);
            tokens.skipFallback(fallback.back());
          }
        } else if (const char* text = controlWordText(t.text)) {
          out += text;
        }
        break;
    }
  }
  while (!out.empty() && (out.back() == '\n' || out.back() == ' ')) out.pop_back();
  return out;
}

}  // namespace qel::rtf
