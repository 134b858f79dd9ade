// The last steps of compiling a whole pattern: dropping spaces at its outer ends, placing the end
// check and choosing the matcher.
#include <algorithm>
#include <array>

#include "pattern/PatternCompiler.h"
#include "pattern/PatternLimits.h"
#include "pattern/ProgramCodes.h"

namespace qel::pattern {

using namespace code;

void PatternCompiler::chooseMatcher(CompiledPattern& result) const {
  // The header and exactly one more code: a plain template or a plain anagram.
  result.matcher = MatcherKind::General;
  if (m_codeCount != 2) return;
  if (m_lastCode == kRun) result.matcher = MatcherKind::Template;
  if (m_lastCode == kLettersOnce) result.matcher = MatcherKind::AnagramOnce;
  if (m_lastCode == kLettersCounted) result.matcher = MatcherKind::AnagramCounted;
}

namespace {

// What a program that is a single mixed run holds: header, the run, the ends of sequence, body and
// program.
struct SingleRun {
  bool single = false;
  bool choices = false;
  bool variables = false;
};

SingleRun singleMixedRun(const Bytes& p) {
  SingleRun run;
  if (p.size() <= kHeaderSize + 3 || p[0] != kSubPattern || p[kHeaderSize] != kMixedRun ||
      p[p.size() - 3] != kEnd || p[p.size() - 2] != kEnd || p.back() != kEndOfProgram) {
    return run;
  }
  size_t at = kHeaderSize + 3;
  for (int item = 0; item < p[kHeaderSize + 2] && at + 1 < p.size(); ++item) {
    const uint8_t tag = p[at] & kItemTagMask;
    run.variables |= tag == kItemVariable;
    run.choices |= tag == kItemChoice || tag == kItemNegatedChoice;
    at += tag == kItemLetter || tag == kItemVariable ? 2 : 2 + static_cast<size_t>(p[at + 1]);
  }
  run.single = at + 3 == p.size();
  return run;
}

// The checks of a run of letters, match-alls and variables, in the layout of templateChecks: a
// variable's first position binds it, its later positions must repeat that letter.
Bytes templateChecksOf(const uint8_t* run) {
  std::array<int, kVariableCount> first;
  first.fill(-1);
  Bytes letters, repeats, firsts;
  const uint8_t* q = run + 3;
  for (int item = 0; item < run[2]; ++item, q += 2) {
    const uint8_t position = q[0] & kItemPositionMask;
    if ((q[0] & kItemTagMask) == kItemLetter) {
      letters.insert(letters.end(), {position, q[1]});
    } else if (first[q[1]] >= 0) {
      repeats.insert(repeats.end(), {position, static_cast<uint8_t>(first[q[1]])});
    } else {
      first[q[1]] = position;
      firsts.push_back(position);
    }
  }
  Bytes checks;
  for (const Bytes* list : {&letters, &repeats, &firsts}) {
    checks.push_back(static_cast<uint8_t>(list == &firsts ? list->size() : list->size() / 2));
    checks.insert(checks.end(), list->begin(), list->end());
  }
  return checks;
}

}  // namespace

// The most common patterns after plain templates and anagrams need no interpreter either: a run
// with choice lists ("[bc]a[rt]", "@#@" once expanded), a run with letter variables ("12341234"),
// and a run, one wildcard that takes all the extra letters and another run ("m*ja", "un*",
// "*ing", "*"), whose runs sit at the start and at the end of the entry.
void PatternCompiler::chooseAffixMatcher(CompiledPattern& result) {
  if (result.matcher != MatcherKind::General || result.hasPunctuation ||
      result.hasExactCharacters || result.hasNestedAnagram) {
    return;
  }
  const Bytes& p = result.program;
  if (const SingleRun run = singleMixedRun(p); run.single) {
    if (!run.variables) {
      result.matcher = MatcherKind::ChoiceRun;
      result.fastOperand = kHeaderSize;
    } else if (!run.choices) {
      result.matcher = MatcherKind::VariableTemplate;
      result.templateChecks = templateChecksOf(p.data() + kHeaderSize);
    }
    return;
  }
  if (result.hasVariables) return;
  // An anagram of plain letters and match-alls: an empty template, the anagram header, one letters
  // item, the ends of body and program.
  const size_t items = kHeaderSize + 1 + kAnagramHeaderSize;
  if (p.size() > items + 2 && p[0] == kSubPattern && p[kHeaderSize] == kEnd &&
      p[kHeaderSize + 1] == kAnagram && (p[items] == kLettersOnce || p[items] == kLettersCounted) &&
      p[p.size() - 2] == kEnd && p.back() == kEndOfProgram) {
    size_t end = items + 2 + (p[items] == kLettersOnce ? p[items + 1] : 0);
    if (p[items] == kLettersCounted) {
      for (end = items + 1; end < p.size() && !isCode(p[end]); end += 2) {
      }
    }
    if (end + 2 != p.size()) return;
    result.matcher = MatcherKind::AnagramBlanks;
    result.fastOperand = items;
    return;
  }
  auto runEnd = [&p](size_t at) { return at + 3 + 2 * static_cast<size_t>(p[at + 2]); };
  size_t at = kHeaderSize;
  if (p.size() < at || p[0] != kVariableSubPattern) return;
  size_t prefix = 0;
  if (at < p.size() && p[at] == kRun) {
    prefix = at;
    at = runEnd(at);
  }
  if (at + 1 >= p.size() || p[at] != kLastWildcard) return;
  at += 2;
  size_t suffix = 0;
  if (at < p.size() && p[at] == kRun) {
    suffix = at;
    at = runEnd(at);
  }
  // The wildcard's continuation ends, then the template sequence, the body and the program.
  if (at + 4 != p.size() || p[at] != kEnd || p[at + 1] != kEnd || p[at + 2] != kEnd ||
      p[at + 3] != kEndOfProgram) {
    return;
  }
  result.matcher = MatcherKind::Affix;
  result.fastOperand = prefix;
  result.fastSuffix = suffix;
}

// Spaces before the first element (sub-pattern headers do not count) and after the last element
// that takes letters or is other punctuation mean nothing: remove them.
void PatternCompiler::dropOuterSpaces() {
  m_dropped.assign(m_elements.size(), false);
  auto isSpace = [](const Element& e) {
    return e.kind == ElementKind::Punctuation && e.character == ' ';
  };
  for (size_t i = 0; i < m_elements.size(); ++i) {
    const Element& e = m_elements[i];
    if (e.kind == ElementKind::SubHeader) continue;
    if (!isSpace(e)) break;
    m_dropped[i] = true;
  }
  for (size_t i = m_elements.size(); i-- > 0;) {
    const Element& e = m_elements[i];
    if (isSpace(e)) {
      m_dropped[i] = true;
      continue;
    }
    const bool stops = e.kind == ElementKind::Run || e.kind == ElementKind::Anagram ||
                       e.kind == ElementKind::Punctuation ||
                       (e.kind == ElementKind::Wildcard && m_program[e.offset] == kLastWildcard);
    if (stops) break;
  }
  if (std::find(m_dropped.begin(), m_dropped.end(), true) == m_dropped.end()) return;

  Bytes kept;
  kept.reserve(m_program.size());
  size_t from = 0;
  size_t lastEnd = m_lastEnd;
  for (size_t i = 0; i < m_elements.size(); ++i) {
    if (!m_dropped[i]) continue;
    const size_t at = m_elements[i].offset;
    kept.insert(kept.end(), m_program.begin() + static_cast<long>(from),
                m_program.begin() + static_cast<long>(at));
    from = at + 2;
    if (at < m_lastEnd) lastEnd -= 2;
  }
  kept.insert(kept.end(), m_program.begin() + static_cast<long>(from), m_program.end());
  m_program = std::move(kept);
  m_lastEnd = lastEnd;
}

// With punctuation anywhere in the pattern, the entry must end right after the pattern's last
// element: a (255, 0) pair there. A pattern whose template takes no letters before its anagram
// part gets none.
void PatternCompiler::insertEndCheck() {
  bool punctuation = m_tablePunctuation;
  for (size_t i = 0; i < m_elements.size(); ++i) {
    if (m_elements[i].kind == ElementKind::Punctuation && !m_dropped[i]) punctuation = true;
  }
  if (!punctuation || m_skipEndCheck) return;
  const uint8_t check[2] = {kPunctuation, 0};
  m_program.insert(m_program.begin() + static_cast<long>(m_lastEnd), check, check + 2);
}

}  // namespace qel::pattern
