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
  if (m_exclusive) {
    for (int v = 0; v < kVariableCount; ++v) {
      if (v != variable && m_bindings[v] == letter) return false;
    }
  }
  m_bindings[variable] = letter;
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
    key.start = reinterpret_cast<uintptr_t>(pc);
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

Matcher::Pc Matcher::sequenceSteps(Pc pc, int p, int extra, int o) {
  for (;;) {
    switch (*pc) {
      case kRun: {
        const int n = pc[1];
        const int pairs = pc[2];
        if (p + n > m_length || !aligned(p, n, o)) return nullptr;
        for (int k = 0; k < pairs; ++k) {
          if (m_letters[p + pc[3 + 2 * k]] != pc[4 + 2 * k]) return nullptr;
        }
        p += n;
        pc += 3 + 2 * pairs;
        break;
      }
      case kMixedRun: {
        const int n = pc[1];
        const int items = pc[2];
        if (p + n > m_length || !aligned(p, n, o)) return nullptr;
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
        p += n;
        pc = q;
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
