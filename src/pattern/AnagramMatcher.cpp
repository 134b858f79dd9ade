// Matching of anagram parts: sub-pattern items placed on free runs of the body's letters, then
// choice lists, letter variables and plain letters taken from the counts of the letters left.
// The balance (body length minus the part's positions) says how many positions may stay unfilled
// (below 0) or how many letters need no accounting (above 0).
#include <algorithm>

#include "pattern/Matcher.h"
#include "pattern/ProgramCodes.h"

namespace qel::pattern {

using namespace code;

Matcher::Pc Matcher::anagram(Pc pc, int first, int length) {
  const int positions = pc[2] | pc[3] << 8 | pc[4] << 16 | pc[5] << 24;
  const Pc items = pc + kAnagramHeaderSize;
  AnagramFrame frame;
  frame.first = first;
  frame.length = length;
  Pc end = items;
  for (bool done = false; !done;) {
    switch (*end) {
      case kVariableSubPattern:
      case kLastVariableSubPattern:
      case kChoiceItem:
        end += 3;
        break;
      case kVariablesItem:
        end += 1 + kVariableCount;
        break;
      case kLettersOnce:
        frame.letters = end;
        end += 2 + end[1];
        break;
      case kLettersCounted:
        frame.letters = end;
        for (++end; !isCode(*end);) end += 2;
        break;
      case kEnd:
        done = true;
        break;
      default:
        return nullptr;
    }
  }
  const int balance = length - positions;
  if (!subPatternItems(frame, items, 0, kLengthSlots, balance)) return nullptr;
  recordBalance(first, length, items);
  return end + 1;
}

bool Matcher::isFree(int first, int count) const {
  for (int i = first; i < first + count; ++i) {
    if (m_used[i]) return false;
  }
  return true;
}

// Places each occurrence of each sub-pattern item on a free run of letters, longest extra and
// latest start first; an occurrence may stay unplaced while the balance allows its positions.
// Occurrences of one item are interchangeable, so each starts left of the one before (`before`,
// relative to the body) and once one stays unplaced the rest do too. The extra letters a
// sub-pattern takes come out of the balance, so it takes no more than the balance; the last
// occurrence of the last variable-length item takes exactly what is left.
bool Matcher::subPatternItems(AnagramFrame& frame, Pc pc, int occurrence, int before, int balance) {
  if (!tick()) return false;
  // Items only use letters up, and the balance stays at or above min(balance, 0): a letter of the
  // letters item that is missing now stays missing.
  countFreeLetters(frame);
  if (lettersCannotFit(frame, std::min(balance, 0))) return false;
  if (*pc != kVariableSubPattern && *pc != kLastVariableSubPattern)
    return remainingItems(frame, pc, balance);
  const int occurrences = pc[1];
  if (occurrence == occurrences) return subPatternItems(frame, pc + 3, 0, kLengthSlots, balance);
  const Bytes& sub = m_pattern.letterSets[pc[2]];
  const int fixed = sub[1];
  const int cap = sub[2];
  int highest = std::min({cap, frame.length - fixed, std::max(balance, 0)});
  int lowest = 0;
  int unplaced = fixed;
  if (*pc == kLastVariableSubPattern && occurrence == occurrences - 1) {
    if (balance >= 0 && balance <= cap) {
      highest = lowest = balance;
    } else {
      highest = -1;
      unplaced = fixed + cap;
    }
  }
  for (int extra = highest; extra >= lowest; --extra) {
    const int count = fixed + extra;
    for (int start = std::min(frame.length - count, before - 1); start >= 0; --start) {
      const int from = frame.first + start;
      if (!isFree(from, count)) continue;
      const Snapshot snapshot = save();
      if (body(sub.data() + kHeaderSize, from, count, extra, m_punctuation[from]) != nullptr) {
        std::fill(m_used.begin() + from, m_used.begin() + from + count, true);
        const bool matched = subPatternItems(frame, pc, occurrence + 1, start, balance - extra);
        std::fill(m_used.begin() + from, m_used.begin() + from + count, false);
        if (matched) return true;
      }
      restore(snapshot);
      if (m_abandoned) return false;
    }
  }
  if (balance + unplaced <= 0)
    return subPatternItems(frame, pc, occurrence + 1, 0, balance + unplaced);
  return false;
}

void Matcher::countFreeLetters(AnagramFrame& frame) const {
  for (int i = 0; i < frame.presentCount; ++i) frame.counts[frame.present[i]] = 0;
  frame.presentCount = 0;
  for (int i = frame.first; i < frame.first + frame.length; ++i) {
    if (m_used[i]) continue;
    const uint8_t letter = m_letters[i];
    if (frame.counts[letter]++ > 0) continue;
    int k = frame.presentCount++;
    for (; k > 0 && frame.present[k - 1] > letter; --k) frame.present[k] = frame.present[k - 1];
    frame.present[k] = letter;
  }
}

// Letters the word lacks raise the balance, and the letters item fails when it passes 0.
bool Matcher::lettersCannotFit(const AnagramFrame& frame, int balance) const {
  const int shortfall = lettersShortfall(frame);
  return shortfall > 0 && balance + shortfall > 0;
}

int Matcher::lettersShortfall(const AnagramFrame& frame) const {
  const Pc item = frame.letters;
  if (item == nullptr) return 0;
  int shortfall = 0;
  if (*item == kLettersOnce) {
    for (int k = 0; k < item[1]; ++k) shortfall += frame.counts[item[2 + k]] <= 0 ? 1 : 0;
    return shortfall;
  }
  for (Pc q = item + 1; !isCode(*q); q += 2) shortfall += std::max(0, q[0] - frame.counts[q[1]]);
  return shortfall;
}

bool Matcher::remainingItems(AnagramFrame& frame, Pc pc, int balance) {
  switch (*pc) {
    case kChoiceItem:
      return choiceItem(frame, pc, 0, 255, balance);
    case kVariablesItem:
      return variablesItem(frame, pc, balance);
    case kLettersOnce:
    case kLettersCounted:
      return lettersItem(frame, pc, balance);
    case kEnd:
      return true;
    default:
      return false;
  }
}

// Each occurrence takes a letter the map allows, highest index first and never higher than the
// previous occurrence's, so that every combination is tried once.
bool Matcher::choiceItem(AnagramFrame& frame, Pc pc, int occurrence, int highest, int balance) {
  if (occurrence == pc[1]) return remainingItems(frame, pc + 3, balance);
  if (!tick() || lettersCannotFit(frame, balance)) return false;
  const Bytes& map = m_pattern.letterSets[pc[2]];
  for (int i = frame.presentCount - 1; i >= 0; --i) {
    const uint8_t letter = frame.present[i];
    if (letter > highest || frame.counts[letter] <= 0 || map[letter] == 0) continue;
    --frame.counts[letter];
    const bool matched = choiceItem(frame, pc, occurrence + 1, letter, balance);
    ++frame.counts[letter];
    if (matched) return true;
    if (m_abandoned) return false;
  }
  // Unfilled, and so are the occurrences after it.
  if (balance < 0) return choiceItem(frame, pc, occurrence + 1, -1, balance + 1);
  return false;
}

bool Matcher::variablesItem(AnagramFrame& frame, Pc pc, int balance) {
  std::array<int, kVariableCount> taken{};
  unsigned pending = 0;
  bool matched = true;
  for (int v = 0; v < kVariableCount && matched; ++v) {
    const int need = pc[1 + v];
    if (need == 0) continue;
    if (m_bindings[v] == kUnbound) {
      pending |= 1u << v;
      continue;
    }
    // Bound already (by the template or an earlier body): its letters must be here.
    int16_t& have = frame.counts[m_bindings[v]];
    taken[v] = std::min<int>(need, have);
    have = static_cast<int16_t>(have - taken[v]);
    const int shortfall = need - taken[v];
    balance += shortfall;
    if (shortfall > 0 && balance > 0) matched = false;
  }
  if (matched) matched = bindVariables(frame, pc, 0, balance, pending);
  for (int v = 0; v < kVariableCount; ++v) {
    if (taken[v] > 0)
      frame.counts[m_bindings[v]] = static_cast<int16_t>(frame.counts[m_bindings[v]] + taken[v]);
  }
  return matched;
}

bool Matcher::bindVariables(AnagramFrame& frame, Pc pc, int variable, int balance,
                            unsigned pending) {
  while (variable < kVariableCount && !(pending >> variable & 1u)) ++variable;
  if (variable == kVariableCount) return remainingItems(frame, pc + 1 + kVariableCount, balance);
  if (!tick()) return false;
  // Each variable still to bind falls short by at least its occurrences minus the largest count
  // left, and the letters item by what it lacks now.
  int most = 0;
  for (int i = 0; i < frame.presentCount; ++i)
    most = std::max<int>(most, frame.counts[frame.present[i]]);
  int shortfall = lettersShortfall(frame);
  for (int v = variable; v < kVariableCount; ++v) {
    if (pending >> v & 1u) shortfall += std::max(0, pc[1 + v] - most);
  }
  if (shortfall > 0 && balance + shortfall > 0) return false;
  const int need = pc[1 + variable];
  for (int i = 0; i < frame.presentCount; ++i) {
    const uint8_t letter = frame.present[i];
    if (frame.counts[letter] <= 0) continue;
    if (m_exclusive && std::find(m_bindings.begin(), m_bindings.end(), letter) != m_bindings.end())
      continue;
    const int take = std::min<int>(need, frame.counts[letter]);
    const int after = balance + need - take;
    if (take < need && after > 0) continue;  // a shortfall only while positions may go unfilled
    frame.counts[letter] = static_cast<int16_t>(frame.counts[letter] - take);
    m_bindings[variable] = letter;
    if (bindVariables(frame, pc, variable + 1, after, pending)) return true;
    m_bindings[variable] = kUnbound;
    frame.counts[letter] = static_cast<int16_t>(frame.counts[letter] + take);
    if (m_abandoned) return false;
  }
  if (balance + need <= 0) return bindVariables(frame, pc, variable + 1, balance + need, pending);
  return false;
}

bool Matcher::lettersItem(const AnagramFrame& frame, Pc pc, int balance) const {
  if (*pc == kLettersOnce) {
    for (int k = 0; k < pc[1]; ++k) {
      if (frame.counts[pc[2 + k]] > 0) continue;
      if (balance >= 0) return false;
      ++balance;
    }
    return true;
  }
  for (Pc q = pc + 1; !isCode(*q); q += 2) {
    const int shortfall = q[0] - frame.counts[q[1]];
    if (shortfall <= 0) continue;
    balance += shortfall;
    if (balance > 0) return false;
  }
  return true;
}

// Balance counts of a part made of plain letters only: the body's letters minus the anagram's.
void Matcher::recordBalance(int first, int length, Pc items) {
  recordPlainBalance(m_scratch.balance, m_letters + first, length, items);
}

}  // namespace qel::pattern
