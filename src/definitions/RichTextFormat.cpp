// Formatted reading of rich text: a stack of character formats, one per group, and the font and
// colour tables read from their groups.
#include "definitions/RichTextFormat.h"

#include "definitions/RichTextPlain.h"
#include "definitions/RichTextTokenizer.h"
#include "platform/Cp1252.h"

namespace qel::rtf {
namespace {

using Kind = Token::Kind;

struct Format {
  Run look;          // the formatting of text in this group (its text unused)
  int fallback = 1;  // characters of fallback text after a "\uN"
};

class Formatter {
 public:
  explicit Formatter(std::string_view body) : m_tokens(body) {}

  FormattedText run() {
    m_out.paragraphs.emplace_back();
    for (Token t; m_tokens.next(t);) {
      if (t.atGroupStart && t.kind == Kind::kWord && t.text == "fonttbl") {
        readFontTable();
        m_stack.pop_back();
      } else if (t.atGroupStart && t.kind == Kind::kWord && t.text == "colortbl") {
        readColourTable();
        m_stack.pop_back();
      } else if (startsHiddenGroup(t)) {
        m_tokens.skipGroup();
        m_stack.pop_back();
      } else {
        take(t);
      }
    }
    return std::move(m_out);
  }

 private:
  Format& top() { return m_stack.back(); }

  void take(const Token& t) {
    switch (t.kind) {
      case Kind::kGroupStart:
        m_stack.push_back(top());
        break;
      case Kind::kGroupEnd:
        if (m_stack.size() > 1) m_stack.pop_back();
        break;
      case Kind::kText:
        for (char c : t.text) {
          if (c != '\r' && c != '\n') append(std::string_view(&c, 1));
        }
        break;
      case Kind::kByte: {
        const char c = static_cast<char>(t.byte);
        append(std::string_view(&c, 1));
        break;
      }
      case Kind::kSymbol:
        symbol(t.symbol);
        break;
      case Kind::kWord:
        word(t);
        break;
    }
  }

  void symbol(char s) {
    if (s == '~') {
      append("\xA0");
    } else if (s == '_') {
      append("-");
    } else if (s == '\r' || s == '\n') {
      m_out.paragraphs.emplace_back();
    } else if (s != '-' && s != '*') {
      append(std::string_view(&s, 1));
    }
  }

  void word(const Token& t) {
    Run& look = top().look;
    const std::string_view w = t.text;
    const bool on = !t.hasNumber || t.number != 0;
    if (w == "par" || w == "sect" || w == "page" || w == "row") {
      m_out.paragraphs.emplace_back();
    } else if (w == "b") {
      look.bold = on;
    } else if (w == "i") {
      look.italic = on;
    } else if (w == "ul") {
      look.underline = on;
    } else if (w == "ulnone") {
      look.underline = false;
    } else if (w == "plain") {
      look = Run{};
    } else if (w == "f" && t.hasNumber) {
      look.font = static_cast<int>(t.number);
    } else if (w == "fs" && t.hasNumber && t.number > 0) {
      look.halfPoints = static_cast<int>(t.number);
    } else if (w == "cf" && t.hasNumber && t.number >= 0) {
      look.colour = static_cast<int>(t.number);
    } else if (w == "uc" && t.hasNumber && t.number >= 0 && t.number < 10) {
      top().fallback = static_cast<int>(t.number);
    } else if (w == "u" && t.hasNumber) {
      const uint32_t u = static_cast<uint16_t>(static_cast<int16_t>(t.number));
      char byte = 0;
      if (u != 0 && cp1252::fromCodePoint(u, byte)) {
        append(std::string_view(&byte, 1));
        m_tokens.skipFallback(top().fallback);
      }
    } else if (const char* text = controlWordText(w)) {
      append(text);  // a line break stays in its paragraph as "\n", a tab as "\t"
    }
  }

  // Text goes on the last run of the last paragraph while the formatting stays the same.
  void append(std::string_view text) {
    std::vector<Run>& runs = m_out.paragraphs.back().runs;
    const Run& look = top().look;
    if (runs.empty() || !sameLook(runs.back(), look)) {
      runs.push_back(look);
      runs.back().text.clear();
    }
    runs.back().text += text;
  }

  static bool sameLook(const Run& a, const Run& b) {
    return a.bold == b.bold && a.italic == b.italic && a.underline == b.underline &&
           a.font == b.font && a.halfPoints == b.halfPoints && a.colour == b.colour;
  }

  // "{\fonttbl{\f0\fswiss Arial;}{\f1 Times;}}" or without the inner groups.
  void readFontTable() {
    int depth = 1;
    FontEntry entry;
    bool named = false;
    for (Token t; depth > 0 && m_tokens.next(t);) {
      if (t.kind == Kind::kGroupStart) {
        ++depth;
      } else if (t.kind == Kind::kGroupEnd) {
        --depth;
      } else if (t.atGroupStart && startsHiddenGroup(t)) {
        m_tokens.skipGroup();
        --depth;
      } else if (t.kind == Kind::kWord && t.text == "f" && t.hasNumber) {
        entry = FontEntry{static_cast<int>(t.number), ""};
        named = true;
      } else if (t.kind == Kind::kText && named) {
        for (char c : t.text) {
          if (c == ';') {
            m_out.fonts.push_back(entry);
            named = false;
            break;
          }
          if (c != '\r' && c != '\n') entry.name.push_back(c);
        }
      }
    }
  }

  // "{\colortbl;\red255\green0\blue0;}": entries end with ";", the first one empty (the default).
  void readColourTable() {
    int depth = 1;
    uint32_t colour = 0;
    for (Token t; depth > 0 && m_tokens.next(t);) {
      if (t.kind == Kind::kGroupStart) {
        ++depth;
      } else if (t.kind == Kind::kGroupEnd) {
        --depth;
      } else if (t.kind == Kind::kWord && t.hasNumber && t.number >= 0 && t.number <= 255) {
        const uint32_t value = static_cast<uint32_t>(t.number);
        if (t.text == "red") colour = (colour & 0x00FFFF) | value << 16;
        if (t.text == "green") colour = (colour & 0xFF00FF) | value << 8;
        if (t.text == "blue") colour = (colour & 0xFFFF00) | value;
      } else if (t.kind == Kind::kText) {
        for (char c : t.text) {
          if (c != ';') continue;
          m_out.colours.push_back(colour);
          colour = 0;
        }
      }
    }
  }

  Tokenizer m_tokens;
  std::vector<Format> m_stack{Format{}, Format{}};  // the body's own group and the outermost
  FormattedText m_out;
};

}  // namespace

bool showsAsRichText(std::string_view body) {
  return body.size() >= 6 && body.starts_with("{\\rtf");
}

FormattedText formattedText(std::string_view body) {
  if (showsAsRichText(body)) return Formatter(body).run();
  FormattedText out;
  size_t from = 0;
  for (;;) {
    const size_t end = body.find('\n', from);
    Paragraph paragraph;
    Run run;
    run.text = std::string(body.substr(from, end == std::string_view::npos ? end : end - from));
    if (!run.text.empty() && run.text.back() == '\r') run.text.pop_back();
    if (!run.text.empty()) paragraph.runs.push_back(std::move(run));
    out.paragraphs.push_back(std::move(paragraph));
    if (end == std::string_view::npos) break;
    from = end + 1;
  }
  return out;
}

}  // namespace qel::rtf
