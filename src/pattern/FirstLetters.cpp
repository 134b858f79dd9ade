// First letters of a sub-pattern: read from its first code that takes a letter. Anything harder to
// tell (a wildcard, an anagram, a variable) allows every letter; the set only ever narrows where a
// match is tried, never what matches.
#include "pattern/FirstLetters.h"

#include "pattern/PatternLimits.h"
#include "pattern/ProgramCodes.h"

namespace qel::pattern {

using namespace code;

namespace {

LetterSet everyLetter() { return LetterSet().set(); }

LetterSet fromMixedRun(const uint8_t* pc, const uint8_t* end) {
  const int items = pc[2];
  const uint8_t* q = pc + 3;
  for (int k = 0; k < items; ++k) {
    if (q + 2 > end) return everyLetter();
    const uint8_t tag = q[0] & kItemTagMask;
    const bool first = (q[0] & kItemPositionMask) == 0;
    if (tag == kItemLetter || tag == kItemVariable) {
      if (first) return tag == kItemLetter ? LetterSet().set(q[1]) : everyLetter();
      q += 2;
      continue;
    }
    const int count = q[1];
    if (q + 2 + count > end) return everyLetter();
    if (first) {
      LetterSet listed;
      for (int i = 0; i < count; ++i) listed.set(q[2 + i]);
      return tag == kItemChoice ? listed : ~listed;
    }
    q += 2 + count;
  }
  return everyLetter();  // a match-all first
}

LetterSet fromBody(const uint8_t* pc, const uint8_t* end, int depth) {
  while (pc < end && depth <= kMaxNestingDepth) {
    switch (*pc) {
      case kRun: {
        if (pc + 3 > end) return everyLetter();
        const int pairs = pc[2];
        if (pc + 3 + 2 * pairs > end) return everyLetter();
        if (pc[1] == 0) {
          pc += 3 + 2 * pairs;
          continue;
        }
        for (int k = 0; k < pairs; ++k) {
          if (pc[3 + 2 * k] == 0) return LetterSet().set(pc[4 + 2 * k]);
        }
        return everyLetter();
      }
      case kMixedRun:
        return pc + 3 <= end ? fromMixedRun(pc, end) : everyLetter();
      case kPunctuation:
      case kExactCharacter:
        pc += 2;  // no letter taken
        continue;
      case kSubPattern:
        if (pc + kHeaderSize <= end && pc[1] > 0) return fromBody(pc + kHeaderSize, end, depth + 1);
        return everyLetter();
      default:
        return everyLetter();
    }
  }
  return everyLetter();
}

}  // namespace

LetterSet firstLettersOf(const Bytes& entry) {
  if (entry.size() <= static_cast<size_t>(kHeaderSize) || !isCode(entry[0])) return everyLetter();
  return fromBody(entry.data() + kHeaderSize, entry.data() + entry.size(), 0);
}

}  // namespace qel::pattern
