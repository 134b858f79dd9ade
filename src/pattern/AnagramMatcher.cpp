// Matching of anagram parts: sub-pattern items placed on free runs of the body's letters, then
// choice lists, letter variables and plain letters taken from the counts of the letters left.
// The balance (body length minus the part's positions) says how many positions may stay unfilled
// (below 0) or how many letters need no accounting (above 0).
#include <algorithm>

#include "pattern/FastMatchers.h"
#include "pattern/Matcher.h"
#include "pattern/ProgramCodes.h"

namespace qel::pattern {

using namespace code;

Matcher::Pc Matcher::anagram(Pc pc, int first, int length) {
  m_work += kAnagramWork;
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
  bool matched;
  if (*items == kVariableSubPattern || *items == kLastVariableSubPattern) {
    matched = placeSubPatterns(frame, items, positions, balance);
  } else {
    countAllLetters(frame);
    matched =
        !lettersCannotFit(frame, std::min(balance, 0)) && remainingItems(frame, items, balance);
  }
  if (!matched) return nullptr;
  recordBalance(first, length, items);
  return end + 1;
}

void Matcher::countAllLetters(AnagramFrame& frame) const {
  for (int i = frame.first; i < frame.first + frame.length; ++i) ++frame.counts[m_letters[i]];
  listPresentLetters(frame);
}

void Matcher::listPresentLetters(AnagramFrame& frame) const {
  frame.presentCount = 0;
  for (int i = frame.first; i < frame.first + frame.length; ++i) {
    const uint8_t letter = m_letters[i];
    if (frame.counts[letter] <= 0) continue;
    int k = frame.presentCount;
    if (std::find(frame.present.begin(), frame.present.begin() + k, letter) !=
        frame.present.begin() + k)
      continue;
    for (; k > 0 && frame.present[k - 1] > letter; --k) frame.present[k] = frame.present[k - 1];
    frame.present[k] = letter;
    ++frame.presentCount;
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
      // Choice lists only take letters away: variables that cannot be bound now never will be, and
      // then no combination of the lists' letters need be tried.
      if (variablesCannotFit(frame, pc, balance)) return false;
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
  // left; with exclusive variables, those beyond the distinct letters left go unbound and fall
  // short by all their occurrences; and the letters item falls short by what it lacks now.
  int most = 0;
  int distinct = 0;
  for (int i = 0; i < frame.presentCount; ++i) {
    const uint8_t letter = frame.present[i];
    if (frame.counts[letter] <= 0) continue;
    most = std::max<int>(most, frame.counts[letter]);
    if (std::find(m_bindings.begin(), m_bindings.end(), letter) == m_bindings.end()) ++distinct;
  }
  int shortOfLetters = 0;
  int toBind = 0;
  int leastNeed = kLongestWord + 1;
  for (int v = variable; v < kVariableCount; ++v) {
    if (!(pending >> v & 1u)) continue;
    shortOfLetters += std::max(0, pc[1 + v] - most);
    ++toBind;
    leastNeed = std::min<int>(leastNeed, pc[1 + v]);
  }
  const int unbound = m_exclusive ? std::max(0, toBind - distinct) * leastNeed : 0;
  const int shortfall = lettersShortfall(frame) + std::max(shortOfLetters, unbound);
  if (shortfall > 0 && balance + shortfall > 0) return false;
  const int need = pc[1 + variable];
  const int lowest = lowestLetterFor(pc, variable, pending);
  for (int i = 0; i < frame.presentCount; ++i) {
    const uint8_t letter = frame.present[i];
    if (letter < lowest || frame.counts[letter] <= 0) continue;
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

// A lower bound of what the variables item after the choice lists at `pc` (if any) and the letters
// item fall short by, against the letters free now.
bool Matcher::variablesCannotFit(const AnagramFrame& frame, Pc pc, int balance) const {
  while (*pc == kChoiceItem) pc += 3;
  if (*pc != kVariablesItem) return false;
  int most = 0;
  for (int i = 0; i < frame.presentCount; ++i)
    most = std::max<int>(most, frame.counts[frame.present[i]]);
  int shortfall = lettersShortfall(frame);
  for (int v = 0; v < kVariableCount; ++v) {
    const int need = pc[1 + v];
    const int have = m_bindings[v] == kUnbound ? most : frame.counts[m_bindings[v]];
    shortfall += std::max(0, need - have);
  }
  return shortfall > 0 && balance + shortfall > 0;
}

// Variables of the item that occur equally often are interchangeable: a combination of letters is
// tried in ascending order only (the first to match is the one an unordered search would find
// first), and once one stays unbound so do the others.
int Matcher::lowestLetterFor(Pc pc, int variable, unsigned pending) const {
  for (int v = variable - 1; v >= 0; --v) {
    if (!(pending >> v & 1u) || pc[1 + v] != pc[1 + variable]) continue;
    if (m_bindings[v] == kUnbound) return 256;
    return m_bindings[v] + (m_exclusive ? 1 : 0);
  }
  return 0;
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
