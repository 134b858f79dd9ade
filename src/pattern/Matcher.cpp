// The general matcher: bodies and template sequences, after the fast matchers where they serve.
#include "pattern/Matcher.h"

#include <algorithm>
#include <cstring>

#include "pattern/FastMatchers.h"
#include "pattern/ProgramCodes.h"

namespace qel::pattern {

using namespace code;

bool matchEntry(const CompiledPattern& pattern, const Alphabet& alphabet,
                const MatchSubject& subject, MatchScratch& scratch) {
  // Most searches use a fast matcher on entries offered in their millions: no matcher state.
  if (!pattern.hasPunctuation && !pattern.hasExactCharacters) {
    scratch.balance.useCount = 0;
    if (!pattern.valid || subject.length < pattern.fixedLength || subject.length > kLongestWord ||
        subject.length > pattern.maximumLength) {
      return false;
    }
    const int fast = matchFast(pattern, subject.letters, subject.length, &scratch.balance);
    if (fast >= 0) return fast == 1;
  }
  Matcher matcher(pattern, alphabet, subject, scratch);
  const bool matched = matcher.run();
  scratch.work += matcher.work();
  if (matcher.abandoned()) ++scratch.abandoned;
  return matched && !matcher.abandoned();
}

Matcher::Matcher(const CompiledPattern& pattern, const Alphabet& alphabet,
                 const MatchSubject& subject, MatchScratch& scratch)
    : m_pattern(pattern),
      m_alphabet(alphabet),
      m_letters(subject.letters),
      m_text(reinterpret_cast<const uint8_t*>(subject.text ? subject.text : "")),
      m_length(subject.length),
      m_scratch(scratch),
      m_memo(scratch.memo),
      m_reuseMatches(!pattern.hasNestedAnagram),
      m_exclusive(pattern.exclusiveVariables) {
  m_bindings.fill(kUnbound);
}

bool Matcher::run() {
  m_scratch.balance.useCount = 0;
  if (!m_pattern.valid || m_length < m_pattern.fixedLength || m_length > kLongestWord ||
      m_length > m_pattern.maximumLength)
    return false;
  if (m_pattern.hasPunctuation || m_pattern.hasExactCharacters) scanText();
  const int fast = matchFast(m_pattern, m_letters, m_length, &m_scratch.balance);
  if (fast >= 0) return fast == 1;
  if (m_pattern.countsLetters && !countLetters()) return false;
  m_memo.reset(m_pattern.program.size());
  if (m_pattern.hasNestedAnagram) m_scratch.placements.reset();
  const int extra = m_length - m_pattern.fixedLength;
  return body(m_pattern.program.data() + kHeaderSize, 0, m_length, extra, 0) != nullptr;
}

// Punctuation counts: for each letter the non-letters before it; for the slot after the last
// letter also the non-letters that follow it, up to a space or the end of the text.
void Matcher::scanText() {
  m_textLength = static_cast<int>(std::strlen(reinterpret_cast<const char*>(m_text)));
  int nonLetters = 0;
  int i = 0;
  for (int t = 0; t < m_textLength; ++t) {
    const uint8_t c = m_text[t];
    if (m_alphabet.letterIndex[c] != kNotALetter) {
      if (i >= m_length) break;
      m_punctuation[i] = nonLetters;
      m_letterOffset[i] = t;
      ++i;
    } else if (i < m_length || c != ' ') {
      ++nonLetters;
    } else {
      break;
    }
  }
  for (; i <= m_length; ++i) {
    m_punctuation[i] = nonLetters;
    m_letterOffset[i] = m_textLength;
  }
  // A pattern without punctuation passes no non-letters: its wildcards need not try to.
  if (!m_pattern.hasPunctuation) m_punctuation.fill(0);
}

// With punctuation in the pattern, the letters of a run must follow one another in the entry
// text, right where the pattern has got to: only wildcards pass non-letters the pattern does not
// name, and only within their own stretch of the entry.
bool Matcher::aligned(int p, int n, int o) const {
  if (!m_pattern.hasPunctuation) return true;
  for (int k = 0; k < n; ++k) {
    if (m_punctuation[p + k] != o) return false;
  }
  return true;
}

int Matcher::charAt(int index) const {
  if (index < 0 || index > m_textLength) return -1;
  return m_text[index];
}

bool Matcher::tick() {
  if (m_abandoned) return false;
  if (++m_steps > m_scratch.stepBound) {
    m_abandoned = true;
    return false;
  }
  return true;
}

bool Matcher::bindOrCompare(uint8_t variable, uint8_t letter) {
  if (variable >= kVariableCount) return false;
  if (m_bindings[variable] != kUnbound) return m_bindings[variable] == letter;
  int need = 0;
  if (m_pattern.countsLetters)
    need = m_pattern.letterUses[letter] + m_pattern.variableUses[variable];
  for (int v = 0; (m_exclusive || need > 0) && v < kVariableCount; ++v) {
    if (v == variable || m_bindings[v] != letter) continue;
    if (m_exclusive) return false;
    need += m_pattern.variableUses[v];
  }
  // Every use of the variable takes a position of its own: the word must hold the letter as often.
  if (m_pattern.countsLetters && need > m_letterCounts[letter]) return false;
  m_bindings[variable] = letter;
  return true;
}

// The word's letter counts, for a pattern that counts letters; false when the word lacks some of
// the pattern's own letters.
bool Matcher::countLetters() {
  m_letterCounts.fill(0);
  for (int i = 0; i < m_length; ++i) ++m_letterCounts[m_letters[i]];
  for (const auto& [letter, uses] : m_pattern.lettersUsed) {
    if (m_letterCounts[letter] < uses) return false;
  }
  return true;
}

// Body: its template sequence, then its anagram part or its end. Bindings made by a failed body
// are undone.
Matcher::Pc Matcher::body(Pc pc, int first, int length, int extra, int o) {
  if (!tick() || first + length > m_length) return nullptr;
  const Snapshot snapshot = save();
  Pc next = sequence(pc, first, extra, o);
  if (next != nullptr) {
    if (*next == kAnagram) {
      const int endOffset = m_endOffset;  // the anagram part's sub-patterns reuse it
      next = anagram(next, first, length);
      m_endOffset = endOffset;
    } else if (*next == kEnd) {
      ++next;
    } else {
      next = nullptr;
    }
  }
  if (next == nullptr) restore(snapshot);
  return next;
}

// A sequence from p with `extra` letters beyond its fixed positions and o non-letters passed.
// Returns the position after its end, or null; a failure leaves the bindings as they were. On
// success m_endOffset holds the non-letters passed at its end, which the enclosing sequence goes
// on from.
Matcher::Pc Matcher::sequence(Pc pc, int p, int extra, int o) {
  if (m_abandoned) return nullptr;
  SequenceKey key;
  const Pc base = m_pattern.program.data();
  // Only failures are remembered where matches cannot be reused: those of the sequences that try
  // lengths one after another, which are the ones worth remembering.
  const bool remember =
      o <= 0xFFFF && (m_reuseMatches || *pc == kWildcard || *pc == kVariableSubPattern);
  if (remember) {
    key.start = programPlace(pc);
    key.position = static_cast<uint8_t>(p);
    key.extra = static_cast<uint8_t>(extra);
    key.punctuation = static_cast<uint16_t>(o);
    key.bindings = m_bindings;
    if (const SequenceOutcome* known = m_memo.find(key)) {
      ++m_work;
      if (!known->matched) return nullptr;
      m_bindings = known->bindings;
      m_endOffset = known->endOffset;
      return base + known->next;
    }
  }
  if (!tick()) return nullptr;  // remembered outcomes cost no attempt
  const Snapshot snapshot = save();
  Pc next = sequenceSteps(pc, p, extra, o);
  if (next == nullptr) restore(snapshot);
  if (remember && !m_abandoned && (next == nullptr || (m_reuseMatches && m_endOffset <= 0xFFFF))) {
    SequenceOutcome outcome;
    outcome.matched = next != nullptr;
    if (outcome.matched) {
      outcome.next = static_cast<uint32_t>(next - base);
      outcome.endOffset = static_cast<uint16_t>(m_endOffset);
      outcome.bindings = m_bindings;
    }
    m_memo.remember(key, outcome);
    m_work += kStoreWork;
  }
  return next;
}

// A run (kRun or kMixedRun) at letter p: the position after it, or null. May bind variables even
// when it fails.
Matcher::Pc Matcher::run(Pc pc, int p, int o) {
  const int n = pc[1];
  if (p + n > m_length || !aligned(p, n, o)) return nullptr;
  if (*pc == kRun) {
    const int pairs = pc[2];
    for (int k = 0; k < pairs; ++k) {
      if (m_letters[p + pc[3 + 2 * k]] != pc[4 + 2 * k]) return nullptr;
    }
    return pc + 3 + 2 * pairs;
  }
  const int items = pc[2];
  Pc q = pc + 3;
  for (int k = 0; k < items; ++k) {
    const uint8_t tag = q[0] & kItemTagMask;
    const uint8_t letter = m_letters[p + (q[0] & kItemPositionMask)];
    if (tag == kItemLetter || tag == kItemVariable) {
      if (tag == kItemLetter ? q[1] != letter : !bindOrCompare(q[1], letter)) return nullptr;
      q += 2;
      continue;
    }
    const int count = q[1];
    const bool listed = std::find(q + 2, q + 2 + count, letter) != q + 2 + count;
    if (listed == (tag == kItemNegatedChoice)) return nullptr;
    q += 2 + count;
  }
  return q;
}

// A wildcard at p whose continuation is a run and then another wildcard, in a pattern without
// punctuation: of two places for the run that leave the same bindings, the later can lead to no
// match the earlier cannot, since the wildcard after the run can take the letters between them.
// So each outcome of the run is tried once, at its first place; a run that binds nothing new is
// tried at its first place alone, as a search for the leftmost occurrence would. Returns what
// sequence() returns for the continuation.
Matcher::Pc Matcher::wildcardBeforeRun(Pc runPc, int p, int extra) {
  static constexpr int kOutcomesKept = 32;
  std::array<std::array<uint8_t, kVariableCount>, kOutcomesKept> tried;
  int triedCount = 0;
  const int n = runPc[1];
  const int unbound = unboundVariablesOf(runPc);
  for (int j = 0; j <= extra && p + j + n <= m_length; ++j) {
    if (!tick()) return nullptr;
    const Snapshot snapshot = save();
    const Pc after = run(runPc, p + j, 0);
    if (after == nullptr || (unbound > 0 && std::find(tried.begin(), tried.begin() + triedCount,
                                                      m_bindings) != tried.begin() + triedCount)) {
      restore(snapshot);
      continue;
    }
    if (triedCount < kOutcomesKept) tried[triedCount++] = m_bindings;
    if (Pc rest = sequence(after, p + j + n, extra - j, 0)) return rest;
    restore(snapshot);
    // Binding nothing, every later place of the run leaves what this one left.
    if (m_abandoned || unbound == 0) return nullptr;
  }
  return nullptr;
}

int Matcher::unboundVariablesOf(Pc runPc) const {
  if (*runPc != kMixedRun) return 0;
  int unbound = 0;
  Pc q = runPc + 3;
  for (int k = 0; k < runPc[2]; ++k) {
    const uint8_t tag = q[0] & kItemTagMask;
    if (tag == kItemVariable && q[1] < kVariableCount && m_bindings[q[1]] == kUnbound) ++unbound;
    q += tag == kItemLetter || tag == kItemVariable ? 2 : 2 + q[1];
  }
  return unbound;
}

bool Matcher::runThenWildcard(Pc pc) const {
  if (m_pattern.hasPunctuation || (*pc != kRun && *pc != kMixedRun)) return false;
  Pc q = pc + 3;
  if (*pc == kRun) {
    q += 2 * pc[2];
  } else {
    for (int k = 0; k < pc[2]; ++k) {
      const uint8_t tag = q[0] & kItemTagMask;
      q += tag == kItemLetter || tag == kItemVariable ? 2 : 2 + q[1];
    }
  }
  return *q == kWildcard || *q == kLastWildcard;
}

// Where pc lies: its offset in the program, or in a letter set's program above it. The same in
// every run, unlike its address, so that a search's work, and where a budget stops it, is too.
uintptr_t Matcher::programPlace(Pc pc) const {
  const Bytes& program = m_pattern.program;
  if (pc >= program.data() && pc < program.data() + program.size())
    return static_cast<uintptr_t>(pc - program.data());
  for (size_t k = 0; k < m_pattern.letterSets.size(); ++k) {
    const Bytes& set = m_pattern.letterSets[k];
    if (pc >= set.data() && pc < set.data() + set.size())
      return (uintptr_t{k} + 1) << 24 | static_cast<uintptr_t>(pc - set.data());
  }
  return reinterpret_cast<uintptr_t>(pc);
}

Matcher::Pc Matcher::sequenceSteps(Pc pc, int p, int extra, int o) {
  for (;;) {
    switch (*pc) {
      case kRun:
      case kMixedRun: {
        const int n = pc[1];
        pc = run(pc, p, o);
        if (pc == nullptr) return nullptr;
        p += n;
        break;
      }
      case kSubPattern: {
        const int fixed = pc[1];
        Pc next = body(pc + kHeaderSize, p, fixed, 0, o);
        if (next == nullptr) return nullptr;
        p += fixed;
        o = m_endOffset;
        pc = next;
        break;
      }
      case kVariableSubPattern: {
        // Shortest first; each length must let the continuation match too.
        const int fixed = pc[1];
        const int cap = pc[2];
        Pc rest = nullptr;
        for (int k = 0; k <= cap && k <= extra && rest == nullptr; ++k) {
          const Snapshot snapshot = save();
          Pc next = body(pc + kHeaderSize, p, fixed + k, k, o);
          if (next != nullptr) rest = sequence(next, p + fixed + k, extra - k, m_endOffset);
          if (rest == nullptr) restore(snapshot);
          if (m_abandoned) return nullptr;
        }
        if (rest == nullptr) return nullptr;
        o = m_endOffset;
        pc = rest;
        break;
      }
      case kLastVariableSubPattern: {
        const int fixed = pc[1];
        if (extra > pc[2]) return nullptr;
        Pc next = body(pc + kHeaderSize, p, fixed + extra, extra, o);
        if (next == nullptr) return nullptr;
        Pc rest = sequence(next, p + fixed + extra, 0, m_endOffset);
        if (rest == nullptr) return nullptr;
        o = m_endOffset;
        pc = rest;
        break;
      }
      case kWildcard: {
        if (runThenWildcard(pc + 2)) {
          Pc rest = wildcardBeforeRun(pc + 2, p, extra);
          if (rest == nullptr) return nullptr;
          o = m_endOffset;
          pc = rest;
          break;
        }
        // Fewest letters first; at each length the wildcard may also pass more non-letters.
        Pc rest = nullptr;
        int j = 0;
        int passed = o;
        for (;;) {
          rest = sequence(pc + 2, p + j, extra - j, passed);
          if (rest != nullptr || m_abandoned) break;
          if (passed < m_punctuation[p + j]) {
            ++passed;
          } else if (++j > extra) {
            break;
          }
        }
        if (rest == nullptr) return nullptr;
        o = m_endOffset;
        pc = rest;
        break;
      }
      case kLastWildcard: {
        Pc rest = nullptr;
        const int most = m_punctuation[p + extra];
        for (int passed = o; passed <= most && rest == nullptr && !m_abandoned; ++passed)
          rest = sequence(pc + 2, p + extra, 0, passed);
        if (rest == nullptr) return nullptr;
        o = m_endOffset;
        pc = rest;
        break;
      }
      case kEnd:
        m_endOffset = o;
        return pc + 1;
      case kPunctuation: {
        const int c = pc[1];
        if (charAt(p + o) != c) return nullptr;
        if (p >= m_length && c == ' ') return nullptr;
        ++o;
        pc += 2;
        break;
      }
      case kExactCharacter:
        // The letter's own character, wherever the entry's non-letters put it.
        if (p >= m_length || m_text[m_letterOffset[p]] != pc[1]) return nullptr;
        pc += 2;
        break;
      default:
        return nullptr;
    }
  }
}

}  // namespace qel::pattern
