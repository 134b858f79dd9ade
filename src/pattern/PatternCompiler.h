// Compiles the text of one pattern into a program for one dictionary alphabet. Reads left to right
// and stops at the first offending construct with its error index (see PatternErrors.h).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "dictionary/Alphabet.h"
#include "pattern/CompiledPattern.h"
#include "pattern/PatternErrors.h"

namespace qel::pattern {

CompiledPattern compilePattern(const Alphabet& alphabet, std::string_view pattern);

class PatternCompiler {
 public:
  PatternCompiler(const Alphabet& alphabet, std::string_view pattern);
  CompiledPattern compile();

 private:
  struct BodyInfo {
    int fixed = 0;
    int extra = 0;
    bool hasAnagram = false;
    bool templateIsEmpty = true;  // no positions and no extra in its template
  };
  struct TemplateInfo {
    int extra = 0;
    size_t lastVariable = kNone;  // offset of the last wildcard or variable sub-pattern
  };
  struct Run {
    bool open = false;
    bool mixed = false;
    size_t header = 0;
    int count = 0;
    int items = 0;
  };
  struct AnagramInfo {
    int positions = 0;
    int extra = 0;
  };
  // Elements of the main program in emission order, for dropping outer spaces and placing the
  // end check.
  enum class ElementKind { SubHeader, Run, Punctuation, Exact, Wildcard, End, Anagram };
  struct Element {
    ElementKind kind;
    size_t offset;
    uint8_t character;
  };
  static constexpr size_t kNone = static_cast<size_t>(-1);

  // Grammar (PatternCompiler.cpp, AnagramCompiler.cpp).
  BodyInfo compileBody(Bytes& out, int depth);
  int compileTemplate(Bytes& out, TemplateInfo& info, int depth);
  void compileAnagram(Bytes& out, int templateExtra, AnagramInfo& info, int depth);
  bool readChoiceList(std::vector<uint8_t>& letterIndices, bool& negated);
  int addLetterSet(const Bytes& entry);

  // Emission.
  void emitCode(Bytes& out, uint8_t code);
  void countChange(uint8_t newCode);
  void openRun(Bytes& out, Run& run);
  void closeRun(Bytes& out, Run& run);
  void addLetter(Bytes& out, Run& run, uint8_t letterIndex);
  void addMatchAll(Bytes& out, Run& run);
  void addChoice(Bytes& out, Run& run, bool negated, const std::vector<uint8_t>& letterIndices);
  void addVariable(Bytes& out, Run& run, uint8_t variable);
  void emitPunctuation(Bytes& out, uint8_t character);
  void note(const Bytes& out, ElementKind kind, size_t offset, uint8_t character = 0);
  void setLastEnd(const Bytes& out);

  // Finishing (CompilerFinish.cpp).
  void dropOuterSpaces();
  void insertEndCheck();
  void chooseMatcher(CompiledPattern& result) const;
  static void chooseAffixMatcher(CompiledPattern& result);

  bool isLetter(uint8_t c) const;
  bool failed() const { return m_error != PatternError::kValid; }
  void fail(PatternError error) {
    if (!failed()) m_error = error;
  }

  const Alphabet& m_alphabet;
  std::string m_text;       // the pattern with ")" appended
  size_t m_patternEnd = 0;  // index of the appended ")"
  size_t m_pos = 0;
  PatternError m_error = PatternError::kValid;

  Bytes m_program;
  std::vector<Bytes> m_letterSets;
  std::vector<Element> m_elements;
  std::vector<bool> m_dropped;
  size_t m_lastEnd = 0;  // where the end check goes: right after the last element emitted
  bool m_skipEndCheck = false;

  int m_codeCount = 0;  // codes emitted or changed in place, for choosing a fast matcher
  uint8_t m_lastCode = 0;

  bool m_tablePunctuation = false;
  bool m_exact = false;
  bool m_variables = false;
  bool m_nestedAnagram = false;
  bool m_anyAnagram = false;
  // Uses of each letter and variable in the main program (letter sets excluded).
  std::array<uint8_t, 256> m_letterUses{};
  std::array<uint8_t, 10> m_variableUses{};
};

}  // namespace qel::pattern
