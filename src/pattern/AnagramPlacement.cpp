// Placement of an anagram part's sub-patterns on runs of the body's letters. The body is read left
// to right: each letter either starts an occurrence of a sub-pattern that still has one to place,
// or is left free for the part's other items (choice lists, variables, letters, match-alls).
// Reading in order makes every placement a different set of runs, and the failed states are
// remembered, so the work grows with the number of states (position, occurrences left, balance,
// bindings, free letters so far), not with the number of orders in which the same runs could be
// chosen.
#include <algorithm>

#include "pattern/Matcher.h"
#include "pattern/ProgramCodes.h"

namespace qel::pattern {

using namespace code;

bool Matcher::placeSubPatterns(AnagramFrame& frame, Pc items, int positions, int balance) {
  Placement placement;
  Pc pc = items;
  int subPositions = 0;
  for (; *pc == kVariableSubPattern || *pc == kLastVariableSubPattern; pc += 3) {
    const Bytes& sub = m_pattern.letterSets[pc[2]];
    SubItem item;
    item.program = sub.data();
    item.firstLetters = &m_pattern.firstLetters[pc[2]];
    item.fixed = sub[1];
    item.cap = sub[2];
    item.left = pc[1];
    item.last = *pc == kLastVariableSubPattern;
    subPositions += item.fixed * item.left;
    placement.lastItem |= item.last;
    placement.items.push_back(item);
  }
  placement.rest = pc;
  placement.offset = static_cast<uint32_t>(items - m_pattern.program.data());
  placement.initialBalance = balance;
  placement.otherPositions = positions - subPositions;
  // Letters the word lacks altogether stay lacking however the sub-patterns are placed.
  countAllLetters(frame);
  const bool cannotFit = lettersCannotFit(frame, std::min(balance, 0)) ||
                         (balance >= 0 && namedLettersCannotFit(frame, placement));
  for (int i = frame.first; i < frame.first + frame.length; ++i) frame.counts[m_letters[i]] = 0;
  if (cannotFit) return false;
  countTakers(frame, placement);
  return placeFrom(frame, placement, 0, balance);
}

// With the balance at 0 or above every occurrence that takes letters is placed on a run of its own,
// which holds the letters its template names (those before anything but runs and wildcards), and
// the letters item takes free letters: a body with fewer of some letter fails however the runs are
// placed.
bool Matcher::namedLettersCannotFit(const AnagramFrame& frame, const Placement& placement) const {
  std::array<int, 256> needed{};
  if (const Pc letters = frame.letters; letters != nullptr && *letters == kLettersOnce) {
    for (int k = 0; k < letters[1]; ++k) ++needed[letters[2 + k]];
  } else if (letters != nullptr) {
    for (Pc q = letters + 1; !isCode(*q); q += 2) needed[q[1]] += q[0];
  }
  for (const SubItem& item : placement.items) {
    for (Pc q = item.program + kHeaderSize;;) {
      if (*q == kRun) {
        for (int k = 0; k < q[2]; ++k) needed[q[4 + 2 * k]] += item.left;
        q += 3 + 2 * q[2];
      } else if (*q == kMixedRun) {
        Pc r = q + 3;
        for (int k = 0; k < q[2]; ++k) {
          const uint8_t tag = r[0] & kItemTagMask;
          if (tag == kItemLetter) needed[r[1]] += item.left;
          r += tag == kItemLetter || tag == kItemVariable ? 2 : 2 + r[1];
        }
        q = r;
      } else if (*q == kWildcard || *q == kLastWildcard || *q == kPunctuation ||
                 *q == kExactCharacter) {
        q += 2;
      } else {
        break;
      }
    }
  }
  for (int letter = 0; letter < 256; ++letter) {
    if (needed[letter] > frame.counts[letter]) return true;
  }
  return false;
}

// For each body position, how many free letters like it the other items could account for: those
// the letters item lists, the choice lists that allow it, and any variable or match-all. Of those,
// match-alls take no letter from the counts: more of a letter than the other items could use makes
// no difference to them.
void Matcher::countTakers(const AnagramFrame& frame, Placement& placement) const {
  std::array<int, 256> listed{};
  int anyLetter = placement.otherPositions;  // less the positions that want particular letters
  int variables = 0;
  std::vector<Pc> choices;
  for (Pc pc = placement.rest; *pc != kEnd;) {
    if (*pc == kChoiceItem) {
      choices.push_back(pc);
      anyLetter -= pc[1];
      pc += 3;
    } else if (*pc == kVariablesItem) {
      for (int v = 0; v < kVariableCount; ++v) variables += pc[1 + v];
      pc += 1 + kVariableCount;
    } else if (*pc == kLettersOnce) {
      for (int k = 0; k < pc[1]; ++k) ++listed[pc[2 + k]];
      anyLetter -= pc[1];
      pc += 2 + pc[1];
    } else if (*pc == kLettersCounted) {
      for (++pc; !isCode(*pc); pc += 2) {
        listed[pc[1]] += pc[0];
        anyLetter -= pc[0];
      }
    } else {
      break;
    }
  }
  for (int j = 0; j < frame.length; ++j) {
    const uint8_t letter = m_letters[frame.first + j];
    int chosen = 0;
    for (Pc choice : choices) {
      if (m_pattern.letterSets[choice[2]][letter] != 0) chosen += choice[1];
    }
    placement.takers[j] = anyLetter + listed[letter] + chosen;
    placement.usable[letter] = static_cast<uint8_t>(
        std::min(listed[letter] + chosen + std::max(variables, 0), kLengthSlots));
  }
}

// Letters beyond the other items' positions need no accounting only while the balance is above 0,
// and never when a last variable-length item must use the balance up.
bool Matcher::mayLeaveFree(const AnagramFrame& frame, const Placement& placement, int i,
                           int balance) const {
  const int spare = placement.lastItem ? 0 : std::max(balance, 0);
  if (placement.freeLetters + 1 > placement.otherPositions + spare) return false;
  return frame.counts[m_letters[frame.first + i]] + 1 <= placement.takers[i] + spare;
}

// The free letters are counted, and their distinct letters kept in ascending order for the key.
void Matcher::leaveFree(AnagramFrame& frame, Placement& placement, uint8_t letter) {
  ++placement.freeLetters;
  if (frame.counts[letter]++ > 0) return;
  int k = placement.distinctFree++;
  for (; k > 0 && placement.freeSorted[k - 1] > letter; --k)
    placement.freeSorted[k] = placement.freeSorted[k - 1];
  placement.freeSorted[k] = letter;
}

void Matcher::takeBack(AnagramFrame& frame, Placement& placement, uint8_t letter) {
  --placement.freeLetters;
  if (--frame.counts[letter] > 0) return;
  uint8_t* end = placement.freeSorted.data() + placement.distinctFree--;
  std::remove(placement.freeSorted.data(), end, letter);
}

PlacementKey Matcher::placementKey(const AnagramFrame& frame, const Placement& placement, int i,
                                   int balance) const {
  PlacementKey key;
  for (int shift = 0; shift < 32; shift += 8)
    key.add(static_cast<uint8_t>(placement.offset >> shift));
  key.add(static_cast<uint8_t>(frame.first));
  key.add(static_cast<uint8_t>(frame.length));
  key.add(static_cast<uint8_t>(i));
  key.add(static_cast<uint8_t>(balance));
  key.add(static_cast<uint8_t>(balance >> 8));
  for (const SubItem& item : placement.items) key.add(static_cast<uint8_t>(item.left));
  if (m_pattern.hasVariables) {
    for (uint8_t binding : m_bindings) key.add(binding);
  }
  // The free letters matter only as far as the other items can use them; which positions they came
  // from does not matter at all.
  for (int k = 0; k < placement.distinctFree; ++k) {
    const uint8_t letter = placement.freeSorted[k];
    const int usable = std::min<int>(frame.counts[letter], placement.usable[letter]);
    if (usable == 0) continue;
    key.add(letter);
    key.add(static_cast<uint8_t>(usable));
  }
  return key;
}

bool Matcher::otherExtrasLeft(const Placement& placement, const SubItem& item) {
  for (const SubItem& other : placement.items) {
    if (&other != &item && other.left > 0 && other.cap > 0) return true;
  }
  return false;
}

bool Matcher::placeFrom(AnagramFrame& frame, Placement& placement, int i, int balance) {
  if (i == frame.length) return finishPlacement(frame, placement, balance);
  if (placement.initialBalance >= 0) {
    // Every occurrence that takes letters must be placed: there must be room for them; and a last
    // variable-length item means the occurrences left must be able to take the whole balance.
    int room = frame.length - i;
    int extras = 0;
    for (const SubItem& item : placement.items) {
      room -= item.fixed * item.left;
      extras += item.cap * item.left;
    }
    if (room < 0 || (placement.lastItem && extras < balance)) return false;
  }
  if (std::all_of(placement.items.begin(), placement.items.end(),
                  [](const SubItem& item) { return item.left == 0; }))
    return leaveRestFree(frame, placement, i, balance);
  const PlacementKey key = placementKey(frame, placement, i, balance);
  if (m_scratch.placements.knownFailure(key)) {
    ++m_work;
    return false;
  }
  if (!tick()) return false;

  const int from = frame.first + i;
  const uint8_t letter = m_letters[from];
  for (SubItem& item : placement.items) {
    if (item.left == 0 || !item.firstLetters->test(letter)) continue;
    // With the word shorter than the part, the last variable-length item's last occurrence has no
    // balance to take and stays unplaced.
    if (item.last && item.left == 1 && placement.initialBalance < 0) continue;
    // The extra letters come out of the balance; the last occurrence of the last variable-length
    // item takes what is left of it.
    int most = std::min({item.cap, frame.length - i - item.fixed, std::max(balance, 0)});
    int least = 0;
    if (item.last && item.left == 1 && placement.initialBalance >= 0 &&
        !otherExtrasLeft(placement, item)) {
      if (most < balance) continue;
      least = most = balance;
    }
    for (int extra = most; extra >= least; --extra) {
      const int count = item.fixed + extra;
      if (count == 0) continue;  // empty occurrences are settled at the end
      const Snapshot snapshot = save();
      if (body(item.program + kHeaderSize, from, count, extra, m_punctuation[from]) != nullptr) {
        --item.left;
        const bool matched = placeFrom(frame, placement, i + count, balance - extra);
        ++item.left;
        if (matched) return true;
      }
      restore(snapshot);
      if (m_abandoned) return false;
    }
  }
  if (mayLeaveFree(frame, placement, i, balance)) {
    leaveFree(frame, placement, letter);
    const bool matched = placeFrom(frame, placement, i + 1, balance);
    takeBack(frame, placement, letter);
    if (matched) return true;
  }
  if (!m_abandoned) m_scratch.placements.rememberFailure(key);
  return false;
}

// Everything is placed: the letters from i on are all free.
bool Matcher::leaveRestFree(AnagramFrame& frame, Placement& placement, int i, int balance) {
  int j = i;
  while (j < frame.length && mayLeaveFree(frame, placement, j, balance)) {
    leaveFree(frame, placement, m_letters[frame.first + j]);
    ++j;
  }
  const bool matched = j == frame.length && finishPlacement(frame, placement, balance);
  while (j-- > i) takeBack(frame, placement, m_letters[frame.first + j]);
  return matched;
}

// Every letter is placed or free; what is left to place may stay unplaced where the balance allows
// its positions, and the other items take the free letters.
bool Matcher::finishPlacement(AnagramFrame& frame, Placement& placement, int balance) {
  const Snapshot snapshot = save();
  for (const SubItem& item : placement.items) {
    if (item.left == 0) continue;
    if (placement.initialBalance < 0) {
      // No occurrence took extra letters; the unplaced ones leave their positions unfilled.
      balance += item.fixed * item.left + (item.last ? item.cap : 0);
      continue;
    }
    // With the balance at 0 or above only empty occurrences can be left: unplaced at a balance of
    // 0, else on no letters, which the last item may not do (it takes the balance).
    if (item.fixed > 0) return false;
    if (balance > 0 && (item.last || !placeEmpty(frame, item))) {
      restore(snapshot);
      return false;
    }
  }
  const bool matched = [&] {
    if (placement.initialBalance < 0 ? balance > 0 : placement.lastItem && balance != 0)
      return false;
    listPresentLetters(frame);
    if (lettersCannotFit(frame, std::min(balance, 0))) return false;
    return remainingItems(frame, placement.rest, balance);
  }();
  if (!matched) restore(snapshot);
  return matched;
}

// An occurrence on no letters: without punctuation or exact characters in the pattern, where it
// stands makes no difference.
bool Matcher::placeEmpty(const AnagramFrame& frame, const SubItem& item) {
  const bool anywhere = !m_pattern.hasPunctuation && !m_pattern.hasExactCharacters;
  for (int start = frame.length; start >= 0; --start) {
    const int at = frame.first + start;
    if (body(item.program + kHeaderSize, at, 0, 0, m_punctuation[at]) != nullptr) return true;
    if (anywhere || m_abandoned) break;
  }
  return false;
}

}  // namespace qel::pattern
