// Walks a program by its structure (bodies, sequences, anagram parts) and prints each code.
#include "pattern/ProgramDump.h"

#include <cstdio>

#include "pattern/ProgramCodes.h"

namespace qel::pattern {
namespace {

using namespace code;

class Dumper {
 public:
  Dumper(const CompiledPattern& pattern, const Alphabet& alphabet)
      : m_pattern(pattern), m_alphabet(alphabet) {}

  std::string run() {
    const Bytes& program = m_pattern.program;
    if (!m_pattern.valid || program.empty()) return "invalid\n";
    size_t pc = body(program, 0, 0);
    if (pc < program.size() && program[pc] == kEndOfProgram) line(0, "end of program");
    for (size_t i = 0; i < m_pattern.letterSets.size(); ++i) {
      const Bytes& set = m_pattern.letterSets[i];
      if (set.size() == 256 && set[0] <= 1) {
        std::string letters;
        for (int k = 0; k < 256; ++k) {
          if (set[k]) letters += letter(static_cast<uint8_t>(k));
        }
        line(0, "set " + std::to_string(i) + ": map " + letters);
      } else {
        line(0, "set " + std::to_string(i) + ":");
        body(set, 0, 1);
      }
    }
    return m_out;
  }

 private:
  void line(int depth, const std::string& text) {
    m_out.append(static_cast<size_t>(2 * depth), ' ');
    m_out += text;
    m_out += '\n';
  }

  std::string letter(uint8_t index) const {
    return std::string(1, static_cast<char>(m_alphabet.character[index]));
  }

  static std::string character(uint8_t c) {
    if (c >= 0x20 && c < 0x7F) return std::string("'") + static_cast<char>(c) + "'";
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "\\x%02X", c);
    return buffer;
  }

  static bool in(const Bytes& b, size_t pc, size_t n) { return pc + n <= b.size(); }

  size_t body(const Bytes& b, size_t pc, int depth) {
    if (!in(b, pc, kHeaderSize)) return b.size();
    const char* name = b[pc] == kSubPattern               ? "sub-pattern"
                       : b[pc] == kVariableSubPattern     ? "variable sub-pattern"
                       : b[pc] == kLastVariableSubPattern ? "last variable sub-pattern"
                                                          : "?";
    line(depth, std::string(name) + " fixed " + std::to_string(b[pc + 1]) + " extra " +
                    std::to_string(b[pc + 2]));
    pc = sequence(b, pc + kHeaderSize, depth + 1);
    if (pc < b.size() && b[pc] == kAnagram) pc = anagram(b, pc, depth + 1);
    if (pc < b.size() && b[pc] == kEnd) {
      line(depth, "end");
      ++pc;
    }
    return pc;
  }

  size_t sequence(const Bytes& b, size_t pc, int depth) {
    while (pc < b.size()) {
      const uint8_t c = b[pc];
      if (c == kEnd) {
        line(depth, "end");
        return pc + 1;
      }
      if (c == kRun || c == kMixedRun) {
        if (!in(b, pc, 3)) break;
        std::string text =
            std::string(c == kRun ? "run " : "mixed run ") + std::to_string(b[pc + 1]) + ":";
        const int items = b[pc + 2];
        size_t q = pc + 3;
        for (int k = 0; k < items && in(b, q, 2); ++k) {
          const uint8_t tag = c == kRun ? kItemLetter : (b[q] & kItemTagMask);
          text += " " + std::to_string(b[q] & kItemPositionMask) + "=";
          if (tag == kItemLetter) {
            text += letter(b[q + 1]);
            q += 2;
          } else if (tag == kItemVariable) {
            text += "var " + std::to_string(b[q + 1]);
            q += 2;
          } else {
            text += tag == kItemNegatedChoice ? "[^" : "[";
            const int n = b[q + 1];
            for (int i = 0; i < n && in(b, q + 2 + i, 1); ++i) text += letter(b[q + 2 + i]);
            text += "]";
            q += 2 + n;
          }
        }
        line(depth, text);
        pc = q;
      } else if (c == kWildcard || c == kLastWildcard) {
        if (!in(b, pc, 2)) break;
        line(depth, std::string(c == kWildcard ? "wildcard" : "last wildcard") + " rest " +
                        std::to_string(b[pc + 1]));
        pc = sequence(b, pc + 2, depth + 1);
      } else if (c == kSubPattern) {
        pc = body(b, pc, depth);
      } else if (c == kVariableSubPattern || c == kLastVariableSubPattern) {
        pc = body(b, pc, depth);
        line(depth + 1, "then");
        pc = sequence(b, pc, depth + 1);
      } else if (c == kPunctuation || c == kExactCharacter) {
        if (!in(b, pc, 2)) break;
        if (c == kPunctuation && b[pc + 1] == 0) {
          line(depth, "end check");
        } else {
          line(depth,
               std::string(c == kPunctuation ? "punctuation " : "exact ") + character(b[pc + 1]));
        }
        pc += 2;
      } else {
        line(depth, "? " + std::to_string(c));
        return b.size();
      }
    }
    return b.size();
  }

  size_t anagram(const Bytes& b, size_t pc, int depth) {
    if (!in(b, pc, kAnagramHeaderSize)) return b.size();
    const int positions = b[pc + 2] | b[pc + 3] << 8 | b[pc + 4] << 16 | b[pc + 5] << 24;
    line(depth, "anagram of " + std::to_string(b[pc + 1]) + " letters, " +
                    std::to_string(positions) + " positions");
    pc += kAnagramHeaderSize;
    while (pc < b.size()) {
      const uint8_t c = b[pc];
      if (c == kVariableSubPattern || c == kLastVariableSubPattern || c == kChoiceItem) {
        if (!in(b, pc, 3)) break;
        const char* name = c == kChoiceItem           ? "choice list"
                           : c == kVariableSubPattern ? "sub-pattern"
                                                      : "last variable sub-pattern";
        line(depth + 1, std::string(name) + " x" + std::to_string(b[pc + 1]) + " set " +
                            std::to_string(b[pc + 2]));
        pc += 3;
      } else if (c == kVariablesItem) {
        if (!in(b, pc, 11)) break;
        std::string text = "variables";
        for (int v = 0; v < 10; ++v) {
          if (b[pc + 1 + v]) text += " " + std::to_string(v) + "x" + std::to_string(b[pc + 1 + v]);
        }
        line(depth + 1, text);
        pc += 11;
      } else if (c == kLettersOnce) {
        if (!in(b, pc, 2)) break;
        std::string text = "letters ";
        const int n = b[pc + 1];
        for (int i = 0; i < n && in(b, pc + 2 + i, 1); ++i) text += letter(b[pc + 2 + i]);
        line(depth + 1, text);
        pc += 2 + n;
      } else if (c == kLettersCounted) {
        std::string text = "counted letters";
        for (++pc; in(b, pc, 2) && !isCode(b[pc]); pc += 2)
          text += " " + std::to_string(b[pc]) + letter(b[pc + 1]);
        line(depth + 1, text);
      } else {
        return pc;  // the body's end
      }
    }
    return b.size();
  }

  const CompiledPattern& m_pattern;
  const Alphabet& m_alphabet;
  std::string m_out;
};

}  // namespace

std::string dumpProgram(const CompiledPattern& pattern, const Alphabet& alphabet) {
  return Dumper(pattern, alphabet).run();
}

}  // namespace qel::pattern
