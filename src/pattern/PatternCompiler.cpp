// Reading of sub-pattern bodies, templates and choice lists, and the emitter they share.
#include "pattern/PatternCompiler.h"

#include <algorithm>

#include "pattern/FirstLetters.h"
#include "pattern/PatternErrors.h"
#include "pattern/PatternLimits.h"
#include "pattern/PlainGroups.h"
#include "pattern/ProgramCodes.h"

namespace qel::pattern {

using namespace code;
using enum PatternError;

namespace {

bool isDigit(uint8_t c) { return c >= '0' && c <= '9'; }

uint8_t toByte(int value) { return static_cast<uint8_t>(std::clamp(value, 0, 255)); }

}  // namespace

CompiledPattern compilePattern(const Alphabet& alphabet, std::string_view pattern) {
  return PatternCompiler(alphabet, pattern).compile();
}

PatternCompiler::PatternCompiler(const Alphabet& alphabet, std::string_view pattern)
    : m_alphabet(alphabet),
      m_text(withoutPlainGroups(pattern, alphabet)),
      m_patternEnd(m_text.size()) {
  // The whole pattern is read like a sub-pattern body, so every construct meets a closing ")".
  m_text.push_back(')');
}

bool PatternCompiler::isLetter(uint8_t c) const {
  // Digits are letter variables whatever the alphabet says.
  return m_alphabet.letterIndex[c] != kNotALetter && !isDigit(c);
}

CompiledPattern PatternCompiler::compile() {
  CompiledPattern result;
  BodyInfo body = compileBody(m_program, 0);
  if (!failed() && m_pos < m_text.size()) fail(kStrayCloseBracket);
  if (!failed() && body.fixed == 0 && body.extra == 0) fail(kNothingToMatch);
  if (failed()) {
    result.error = m_error;
    return result;
  }
  m_skipEndCheck = body.hasAnagram && body.templateIsEmpty;
  m_program.push_back(kEndOfProgram);

  result.fixedLength = body.fixed;
  result.maximumLength = std::min(body.fixed + body.extra, kExtraCap);
  chooseMatcher(result);
  dropOuterSpaces();
  insertEndCheck();
  if (result.matcher == MatcherKind::Template) result.fastOperand = kHeaderSize;
  if (result.matcher == MatcherKind::AnagramOnce || result.matcher == MatcherKind::AnagramCounted)
    result.fastOperand = kHeaderSize + 1 + kAnagramHeaderSize;  // after the empty template's end

  result.program = std::move(m_program);
  result.letterSets = std::move(m_letterSets);
  for (const Bytes& entry : result.letterSets) result.firstLetters.push_back(firstLettersOf(entry));
  result.hasPunctuation = m_tablePunctuation;
  for (size_t i = 0; i < m_elements.size(); ++i) {
    if (m_elements[i].kind == ElementKind::Punctuation && !m_dropped[i])
      result.hasPunctuation = true;
  }
  result.hasExactCharacters = m_exact;
  result.hasVariables = m_variables;
  result.hasNestedAnagram = m_nestedAnagram;
  if (m_variables && !m_anyAnagram && m_letterSets.empty()) {
    result.countsLetters = true;
    result.letterUses.assign(m_letterUses.begin(), m_letterUses.end());
    for (int letter = 0; letter < 256; ++letter) {
      if (m_letterUses[letter] > 0)
        result.lettersUsed.emplace_back(static_cast<uint8_t>(letter), m_letterUses[letter]);
    }
    result.variableUses = m_variableUses;
  }
  chooseAffixMatcher(result);
  result.error = kValid;
  result.valid = true;
  return result;
}

// Body: an optional template, optionally ";" and an anagram part, then the closing ")".
PatternCompiler::BodyInfo PatternCompiler::compileBody(Bytes& out, int depth) {
  BodyInfo info;
  if (depth > kMaxNestingDepth) {
    fail(kTooLong);
    return info;
  }
  if (m_pos >= m_text.size()) {
    fail(kSubPatternUnfinished);
    return info;
  }
  const size_t header = out.size();
  note(out, ElementKind::SubHeader, header);
  emitCode(out, kSubPattern);
  out.push_back(0);
  out.push_back(0);
  setLastEnd(out);

  TemplateInfo templ;
  int templateFixed = 0;
  const uint8_t first = m_text[m_pos];
  if (first != ';' && first != ')') {
    templateFixed = compileTemplate(out, templ, depth);
  } else {
    // An empty template still gets its end, so a body is always: template, [anagram], end.
    note(out, ElementKind::End, out.size());
    out.push_back(kEnd);
  }
  if (failed()) return info;

  const size_t lastEndOfTemplate = m_lastEnd;
  AnagramInfo anagram;
  if (m_text[m_pos] == ';') {
    ++m_pos;
    info.hasAnagram = true;
    m_anyAnagram = true;
    if (depth > 0) m_nestedAnagram = true;
    compileAnagram(out, templ.extra, anagram, depth);
    if (failed()) return info;
  }
  ++m_pos;  // the closing ")"
  note(out, ElementKind::End, out.size());
  out.push_back(kEnd);

  int fixed = templateFixed;
  int extra = templ.extra;
  info.templateIsEmpty = templateFixed == 0 && templ.extra == 0;
  if (info.templateIsEmpty) {
    fixed = anagram.positions;
    extra = anagram.extra;
  }
  if (fixed > kMaxFixedPositions) {
    fail(kTooLong);
    return info;
  }
  if (extra > 0) {
    // A bounded anagram part limits a template that could otherwise grow without end.
    if (anagram.extra < kUnboundedExtra && anagram.positions + anagram.extra > fixed)
      extra = anagram.positions + anagram.extra - fixed;
    out[header] = kVariableSubPattern;
    countChange(kVariableSubPattern);
  }
  out[header + 1] = toByte(fixed);
  out[header + 2] = toByte(std::min(extra, kExtraCap));
  if (templ.lastVariable != kNone) {
    uint8_t& c = out[templ.lastVariable];
    c = c == kWildcard ? kLastWildcard : kLastVariableSubPattern;
  }
  if (info.hasAnagram) {
    // A sub-pattern ending in an anagram part counts as one element that ends after its body;
    // the whole pattern's end check stays after its template.
    if (depth > 0) {
      setLastEnd(out);
    } else {
      m_lastEnd = lastEndOfTemplate;
    }
  }
  info.fixed = fixed;
  info.extra = extra;
  return info;
}

// Template: read until ";" or ")"; returns the letter positions taken, nested continuations
// included. A wildcard or a variable-length sub-pattern reads the rest as a nested continuation.
int PatternCompiler::compileTemplate(Bytes& out, TemplateInfo& info, int depth) {
  if (depth > kMaxNestingDepth) {
    fail(kTooLong);
    return 0;
  }
  int fixed = 0;
  Run run;
  while (!failed()) {
    if (m_pos >= m_text.size()) {
      fail(kSubPatternUnfinished);
      break;
    }
    const uint8_t c = m_text[m_pos];
    if (c == ';' || c == ')') {
      closeRun(out, run);
      note(out, ElementKind::End, out.size());
      out.push_back(kEnd);
      return fixed;
    }
    if (c == '.' || c == '?') {
      addMatchAll(out, run);
      ++fixed;
      ++m_pos;
    } else if (c == '\\') {
      if (m_pos + 1 >= m_patternEnd) {
        fail(kBackslashAtEnd);
        break;
      }
      const uint8_t x = m_text[m_pos + 1];
      closeRun(out, run);
      if (isLetter(x)) {
        // The entry's own character must be exactly x, and the position takes the letter x.
        note(out, ElementKind::Exact, out.size());
        emitCode(out, kExactCharacter);
        out.push_back(x);
        m_exact = true;
        addLetter(out, run, m_alphabet.letterIndex[x]);
        ++fixed;
      } else {
        emitPunctuation(out, x);
      }
      m_pos += 2;
    } else if (c == '[') {
      ++m_pos;
      std::vector<uint8_t> letters;
      bool negated = false;
      if (!readChoiceList(letters, negated)) break;
      addChoice(out, run, negated, letters);
      ++fixed;
    } else if (c == '*') {
      closeRun(out, run);
      info.extra = kUnboundedExtra;
      const size_t at = out.size();
      note(out, ElementKind::Wildcard, at);
      emitCode(out, kWildcard);
      out.push_back(0);
      info.lastVariable = at;
      setLastEnd(out);
      // Wildcards in a row match what one does: one continuation for them all, so that a long
      // run of them does not count as deep nesting.
      while (m_pos < m_text.size() && m_text[m_pos] == '*') ++m_pos;
      const int rest = compileTemplate(out, info, depth + 1);
      out[at + 1] = toByte(rest);
      fixed += rest;
    } else if (c == '(') {
      closeRun(out, run);
      ++m_pos;
      const size_t at = out.size();
      const BodyInfo body = compileBody(out, depth + 1);
      if (failed()) break;
      fixed += body.fixed;
      if (body.extra > 0) {
        info.extra = std::min(info.extra + body.extra, kUnboundedExtra);
        info.lastVariable = at;
        fixed += compileTemplate(out, info, depth + 1);
      }
    } else if (c == ']') {
      fail(kStrayCloseSquare);
    } else if (c == '^') {
      fail(kCaretOutsideChoiceList);
    } else if (isDigit(c)) {
      addVariable(out, run, static_cast<uint8_t>(c - '0'));
      ++fixed;
      ++m_pos;
    } else if (isLetter(c)) {
      addLetter(out, run, m_alphabet.letterIndex[c]);
      ++fixed;
      ++m_pos;
    } else {
      closeRun(out, run);
      emitPunctuation(out, c);
      ++m_pos;
    }
  }
  return fixed;
}

// Choice list, after "[": letters up to "]", "^" first negating it. Stops with an error index
// unless it ends at "]".
bool PatternCompiler::readChoiceList(std::vector<uint8_t>& letterIndices, bool& negated) {
  negated = false;
  if (m_text[m_pos] == '^') {
    negated = true;
    ++m_pos;
  }
  if (m_text[m_pos] == ']') {
    fail(kEmptyChoiceList);
    return false;
  }
  auto add = [&letterIndices, this](uint8_t c) {
    const uint8_t index = m_alphabet.letterIndex[c];
    // Duplicates add nothing; the typed order of the others is kept.
    if (std::find(letterIndices.begin(), letterIndices.end(), index) == letterIndices.end())
      letterIndices.push_back(index);
  };
  for (;;) {
    const uint8_t c = m_text[m_pos];
    if (c == '[' || c == ']' || c == '(' || c == ')' || c == ';' || c == '*') break;
    if (c == '\\') {
      if (m_pos + 1 >= m_patternEnd) {
        fail(kBackslashAtEnd);
        return false;
      }
      const uint8_t x = m_text[m_pos + 1];
      if (!isLetter(x)) break;
      add(x);
      m_pos += 2;
      continue;
    }
    if (!isLetter(c)) break;
    add(c);
    ++m_pos;
  }
  if (m_text[m_pos] == ']') {
    ++m_pos;
    return true;
  }
  fail(m_pos == m_patternEnd ? kChoiceListUnfinished : kChoiceListBadCharacter);
  return false;
}

int PatternCompiler::addLetterSet(const Bytes& entry) {
  for (size_t i = 0; i < m_letterSets.size(); ++i) {
    if (m_letterSets[i] == entry) return static_cast<int>(i);
  }
  if (static_cast<int>(m_letterSets.size()) >= kMaxLetterSets) return -1;
  m_letterSets.push_back(entry);
  return static_cast<int>(m_letterSets.size()) - 1;
}

void PatternCompiler::emitCode(Bytes& out, uint8_t code) {
  out.push_back(code);
  ++m_codeCount;
  m_lastCode = code;
}

void PatternCompiler::countChange(uint8_t newCode) {
  ++m_codeCount;
  m_lastCode = newCode;
}

void PatternCompiler::openRun(Bytes& out, Run& run) {
  if (run.open) return;
  run = Run{};
  run.open = true;
  run.header = out.size();
  note(out, ElementKind::Run, run.header);
  emitCode(out, kRun);
  out.push_back(0);  // positions, written when the run closes
  out.push_back(0);  // items
}

void PatternCompiler::closeRun(Bytes& out, Run& run) {
  if (!run.open) return;
  out[run.header + 1] = toByte(run.count);
  out[run.header + 2] = toByte(run.items);
  run.open = false;
}

void PatternCompiler::addLetter(Bytes& out, Run& run, uint8_t letterIndex) {
  openRun(out, run);
  out.push_back(toByte(run.count & kItemPositionMask));
  out.push_back(letterIndex);
  if (&out == &m_program && m_letterUses[letterIndex] < 255) ++m_letterUses[letterIndex];
  ++run.count;
  ++run.items;
  setLastEnd(out);
}

void PatternCompiler::addMatchAll(Bytes& out, Run& run) {
  openRun(out, run);
  ++run.count;
  setLastEnd(out);
}

void PatternCompiler::addChoice(Bytes& out, Run& run, bool negated,
                                const std::vector<uint8_t>& letterIndices) {
  openRun(out, run);
  if (!run.mixed) {
    run.mixed = true;
    out[run.header] = kMixedRun;
    countChange(kMixedRun);
  }
  const uint8_t tag = negated ? kItemNegatedChoice : kItemChoice;
  out.push_back(static_cast<uint8_t>(tag | (run.count & kItemPositionMask)));
  out.push_back(toByte(static_cast<int>(letterIndices.size())));
  out.insert(out.end(), letterIndices.begin(), letterIndices.end());
  ++run.count;
  ++run.items;
  setLastEnd(out);
}

void PatternCompiler::addVariable(Bytes& out, Run& run, uint8_t variable) {
  openRun(out, run);
  if (!run.mixed) {
    run.mixed = true;
    out[run.header] = kMixedRun;
    countChange(kMixedRun);
  }
  out.push_back(static_cast<uint8_t>(kItemVariable | (run.count & kItemPositionMask)));
  out.push_back(variable);
  m_variables = true;
  if (&out == &m_program && variable < m_variableUses.size() && m_variableUses[variable] < 255)
    ++m_variableUses[variable];
  ++run.count;
  ++run.items;
  setLastEnd(out);
}

void PatternCompiler::emitPunctuation(Bytes& out, uint8_t character) {
  note(out, ElementKind::Punctuation, out.size(), character);
  emitCode(out, kPunctuation);
  out.push_back(character);
  if (&out != &m_program) m_tablePunctuation = true;
  // Space elements do not count: outer spaces are dropped and the end check goes before them.
  if (character != ' ') setLastEnd(out);
}

void PatternCompiler::note(const Bytes& out, ElementKind kind, size_t offset, uint8_t character) {
  if (&out == &m_program) m_elements.push_back({kind, offset, character});
}

void PatternCompiler::setLastEnd(const Bytes& out) {
  if (&out == &m_program) m_lastEnd = out.size();
}

}  // namespace qel::pattern
