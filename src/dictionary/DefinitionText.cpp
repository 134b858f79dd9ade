// Plain text of a definition body as a reader sees it: rich text reduced to its text and breaks.
#include "dictionary/DefinitionText.h"

#include <cstdint>
#include <cstdlib>
#include <initializer_list>
#include <vector>

#include "platform/Cp1252.h"
#include "platform/RtfSyntax.h"

namespace qel {
namespace {

using namespace rtf;

// The text a control word stands for, or null for one that only formats.
const char* wordText(std::string_view word) {
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

// Appends Unicode code point `u` in code page 1252; false when the code page lacks it.
bool appendCodePoint(std::string& out, uint32_t u) {
  char byte = 0;
  if (u == 0 || !cp1252::fromCodePoint(u, byte)) return false;
  out.push_back(byte);
  return true;
}

struct GroupState {
  int fallback = 1;  // characters of fallback text after a "\uN" (set by "\ucN")
};

class Reducer {
 public:
  explicit Reducer(std::string_view s) : m_s(s) {}

  std::string run() {
    std::vector<GroupState> groups{GroupState{}};
    bool groupStart = false;
    while (m_i < m_s.size()) {
      const char c = m_s[m_i];
      if (c == '{') {
        groups.push_back(groups.back());
        ++m_i;
        groupStart = true;
        continue;
      }
      const bool atGroupStart = groupStart;
      groupStart = false;
      if (c == '}') {
        if (groups.size() > 1) groups.pop_back();
        ++m_i;
      } else if (c == '\r' || c == '\n') {
        ++m_i;  // line breaks in the source are not text
      } else if (c != '\\') {
        m_out.push_back(c);
        ++m_i;
      } else {
        controlSequence(groups.back(), atGroupStart);
      }
    }
    return std::move(m_out);
  }

 private:
  void controlSequence(GroupState& group, bool atGroupStart) {
    if (m_i + 1 >= m_s.size()) {
      m_i = m_s.size();
      return;
    }
    const char d = m_s[m_i + 1];
    if (d == '\'') {
      const int high = m_i + 2 < m_s.size() ? hexValue(m_s[m_i + 2]) : -1;
      const int low = m_i + 3 < m_s.size() ? hexValue(m_s[m_i + 3]) : -1;
      if (high >= 0 && low >= 0) {
        m_out.push_back(static_cast<char>(high * 16 + low));
        m_i += 4;
      } else {
        m_i += 2;
      }
    } else if (d == '*') {
      m_i = atGroupStart ? skipGroup(m_i + 2) : m_i + 2;
    } else if (isAsciiLetter(d)) {
      size_t j = m_i + 1;
      while (j < m_s.size() && isAsciiLetter(m_s[j])) ++j;
      const std::string_view word = m_s.substr(m_i + 1, j - m_i - 1);
      const size_t numberStart = j;
      if (j + 1 < m_s.size() && m_s[j] == '-' && isDigit(m_s[j + 1])) ++j;
      while (j < m_s.size() && isDigit(m_s[j])) ++j;
      const bool hasNumber = j > numberStart;
      const long number =
          hasNumber ? std::strtol(std::string(m_s.substr(numberStart, j - numberStart)).c_str(),
                                  nullptr, 10)
                    : 0;
      if (j < m_s.size() && m_s[j] == ' ') ++j;
      m_i = j;
      if (atGroupStart && isHiddenDestination(word)) {
        m_i = skipGroup(m_i);
      } else if (word == "uc" && hasNumber && number >= 0 && number < 10) {
        group.fallback = static_cast<int>(number);
      } else if (word == "u" && hasNumber) {
        const uint32_t u = static_cast<uint16_t>(static_cast<int16_t>(number));
        if (appendCodePoint(m_out, u)) {
          skipFallback(group.fallback);
        }
      } else if (const char* text = wordText(word)) {
        m_out += text;
      }
    } else {
      // Control symbols: "\~" a no-break space, "\-" an optional hyphen, "\_" a hyphen; any
      // other ("\\", "\{", "\}") stands for its character.
      if (d == '~') {
        m_out.push_back('\xA0');
      } else if (d == '_') {
        m_out.push_back('-');
      } else if (d != '-' && d != '\r' && d != '\n') {
        m_out.push_back(d);
      } else if (d == '\r' || d == '\n') {
        m_out.push_back('\n');  // an escaped line break is a paragraph break
      }
      m_i += 2;
    }
  }

  // Skips the fallback text of a "\uN": `count` characters, an escape counting as one.
  void skipFallback(int count) {
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
  }

  // Index just past the brace that closes the group whose content starts at `i`.
  size_t skipGroup(size_t i) const { return rtf::skipGroup(m_s, i); }

  std::string_view m_s;
  size_t m_i = 0;
  std::string m_out;
};

}  // namespace

std::string definitionPlainText(std::string_view body) {
  if (!isRichTextBody(body)) return std::string(body);
  std::string text = Reducer(body).run();
  while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
  return text;
}

}  // namespace qel
