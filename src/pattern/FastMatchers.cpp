// The fast matchers: templates, plain anagrams, choice runs, variable templates and affixes, each
// decided from the entry's letters alone without the general matcher's state.
#include "pattern/FastMatchers.h"

#include <algorithm>
#include <array>

#include "pattern/ProgramCodes.h"

namespace qel::pattern {

using namespace code;

namespace {

// A run's (position, letter) pairs against the letters from `letters` on.
bool runMatches(const uint8_t* run, const uint8_t* letters) {
  const int pairs = run[2];
  for (int k = 0; k < pairs; ++k) {
    if (letters[run[3 + 2 * k]] != run[4 + 2 * k]) return false;
  }
  return true;
}

// A mixed run without variables: letters, choice lists and negated choice lists by position.
bool choiceRunMatches(const uint8_t* run, const uint8_t* letters) {
  const int items = run[2];
  const uint8_t* q = run + 3;
  for (int k = 0; k < items; ++k) {
    const uint8_t tag = q[0] & kItemTagMask;
    const uint8_t letter = letters[q[0] & kItemPositionMask];
    if (tag == kItemLetter) {
      if (letter != q[1]) return false;
      q += 2;
      continue;
    }
    const int count = q[1];
    const bool listed = std::find(q + 2, q + 2 + count, letter) != q + 2 + count;
    if (listed != (tag == kItemChoice)) return false;
    q += 2 + count;
  }
  return true;
}

// A run of letters, match-alls and variables, by its checks (CompiledPattern::templateChecks):
// the letters, then each later occurrence of a variable against its first, then, for exclusive
// variables, the first occurrences against each other. A variable may repeat a letter of the
// pattern.
bool variableTemplateMatches(const uint8_t* checks, const uint8_t* letters, bool exclusive) {
  const uint8_t* q = checks;
  for (int k = *q++; k > 0; --k, q += 2) {
    if (letters[q[0]] != q[1]) return false;
  }
  for (int k = *q++; k > 0; --k, q += 2) {
    if (letters[q[0]] != letters[q[1]]) return false;
  }
  if (!exclusive) return true;
  const int variables = *q++;
  for (int i = 1; i < variables; ++i) {
    const uint8_t letter = letters[q[i]];
    for (int j = 0; j < i; ++j) {
      if (letters[q[j]] == letter) return false;
    }
  }
  return true;
}

bool plainAnagramMatches(const uint8_t* item, const uint8_t* letters, int length) {
  if (*item == kLettersOnce) {
    // Letters wanted once each, as many as the entry has: with an alphabet of up to 64 letters a
    // set of bits tells whether the entry holds each of them.
    uint64_t held = 0;
    bool small = true;
    for (int i = 0; i < length; ++i) {
      small &= letters[i] < 64;
      held |= uint64_t{1} << (letters[i] & 63);
    }
    if (small) {
      for (int k = 0; k < item[1]; ++k) {
        const uint8_t letter = item[2 + k];
        if (letter >= 64 || (held >> letter & 1) == 0) return false;
      }
      return true;
    }
  }
  std::array<uint8_t, 256> counts{};
  for (int i = 0; i < length; ++i) ++counts[letters[i]];
  if (*item == kLettersOnce) {
    for (int k = 0; k < item[1]; ++k) {
      if (counts[item[2 + k]] == 0) return false;
    }
    return true;
  }
  for (const uint8_t* q = item + 1; !isCode(*q); q += 2) {
    if (counts[q[1]] < q[0]) return false;
  }
  return true;
}

}  // namespace

void recordPlainBalance(BalanceCounts& balance, const uint8_t* letters, int length,
                        const uint8_t* items) {
  ++balance.useCount;
  balance.counts.fill(0);
  if (*items != kLettersOnce && *items != kLettersCounted) return;
  for (int i = 0; i < length; ++i) ++balance.counts[letters[i]];
  if (*items == kLettersOnce) {
    for (int k = 0; k < items[1]; ++k) --balance.counts[items[2 + k]];
    return;
  }
  for (const uint8_t* q = items + 1; !isCode(*q); q += 2) balance.counts[q[1]] -= q[0];
}

int matchFast(const CompiledPattern& pattern, const uint8_t* letters, int length,
              BalanceCounts* balance) {
  const uint8_t* program = pattern.program.data();
  switch (pattern.matcher) {
    case MatcherKind::Template:
      return runMatches(program + pattern.fastOperand, letters);
    case MatcherKind::AnagramOnce:
    case MatcherKind::AnagramCounted:
      return plainAnagramMatches(program + pattern.fastOperand, letters, length);
    case MatcherKind::AnagramBlanks: {
      const uint8_t* items = program + pattern.fastOperand;
      if (balance == nullptr || !plainAnagramMatches(items, letters, length)) return 0;
      recordPlainBalance(*balance, letters, length, items);  // what the match-alls took
      return 1;
    }
    case MatcherKind::ChoiceRun:
      return choiceRunMatches(program + pattern.fastOperand, letters);
    case MatcherKind::VariableTemplate:
      return variableTemplateMatches(pattern.templateChecks.data(), letters,
                                     pattern.exclusiveVariables);
    case MatcherKind::Affix: {
      if (pattern.fastOperand != 0 && !runMatches(program + pattern.fastOperand, letters)) {
        return 0;
      }
      const uint8_t* suffix = program + pattern.fastSuffix;
      return pattern.fastSuffix == 0 || runMatches(suffix, letters + length - suffix[1]);
    }
    case MatcherKind::General:
      break;
  }
  return -1;
}

int fixedLetterChecks(const CompiledPattern& pattern, int length, uint8_t (*checks)[2],
                      int capacity) {
  const uint8_t* program = pattern.program.data();
  int count = 0;
  // A run's pairs are (position, letter) from `start` on.
  auto add = [&](const uint8_t* run, int start) {
    for (int k = 0; k < run[2]; ++k) {
      if (count == capacity) return false;
      checks[count][0] = static_cast<uint8_t>(start + run[3 + 2 * k]);
      checks[count][1] = run[4 + 2 * k];
      ++count;
    }
    return true;
  };
  switch (pattern.matcher) {
    case MatcherKind::Template:
      return add(program + pattern.fastOperand, 0) ? count : -1;
    case MatcherKind::Affix: {
      if (pattern.fastOperand != 0 && !add(program + pattern.fastOperand, 0)) return -1;
      const uint8_t* suffix = program + pattern.fastSuffix;
      if (pattern.fastSuffix != 0 && !add(suffix, length - suffix[1])) return -1;
      return count;
    }
    default:
      return -1;
  }
}

}  // namespace qel::pattern
