// The interpreter of compiled pattern programs: decides whether one entry matches one pattern and
// leaves the anagram balance. One Matcher lives for one match of one entry.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "dictionary/Alphabet.h"
#include "pattern/BalanceCounts.h"
#include "pattern/CompiledPattern.h"
#include "pattern/FirstLetters.h"
#include "pattern/MatchMemo.h"
#include "pattern/PatternLimits.h"
#include "pattern/PlacementMemo.h"

namespace qel::pattern {

// One entry: its letter indices (ending with 0xFF), its letter count and its display text.
struct MatchSubject {
  const uint8_t* letters = nullptr;
  int length = 0;
  const char* text = "";
};

// What a match leaves behind or reuses between entries; owned by the caller.
struct MatchScratch {
  BalanceCounts balance;
  MatchMemo memo;
  PlacementMemo placements;
  long abandoned = 0;  // matches given up after stepBound attempts
  long stepBound = kMaxMatchSteps;
  // The work of every match of the general matcher so far, for a caller that bounds a whole
  // search: about one unit for each ten nanoseconds or so (Matcher::work()).
  long work = 0;
};

// The subject's length must lie within the pattern's fixed length and maximum length, at most
// kLongestWord.
bool matchEntry(const CompiledPattern& pattern, const Alphabet& alphabet,
                const MatchSubject& subject, MatchScratch& scratch);

class Matcher {
 public:
  Matcher(const CompiledPattern& pattern, const Alphabet& alphabet, const MatchSubject& subject,
          MatchScratch& scratch);
  bool run();
  bool abandoned() const { return m_abandoned; }
  long work() const { return m_steps + m_work; }

 private:
  using Pc = const uint8_t*;
  static constexpr uint8_t kUnbound = 255;
  static constexpr int kSlots = kLengthSlots + 1;

  struct Snapshot {
    std::array<uint8_t, kVariableCount> bindings;
  };
  struct AnagramFrame {
    int first = 0;
    int length = 0;
    std::array<int16_t, 256> counts{};            // free letters of the body per letter index
    std::array<uint8_t, kLengthSlots> present{};  // distinct free letters, ascending
    int presentCount = 0;
    Pc letters = nullptr;  // the letters item, if any
  };
  // One sub-pattern item of an anagram part while its occurrences are being placed.
  struct SubItem {
    Pc program = nullptr;  // the sub-pattern's program, header first
    const LetterSet* firstLetters = nullptr;
    int fixed = 0;
    int cap = 0;
    int left = 0;       // occurrences not yet placed
    bool last = false;  // the last variable-length item: the extras use up the balance
  };
  struct Placement {
    std::vector<SubItem> items;
    Pc rest = nullptr;    // the items after the sub-patterns
    uint32_t offset = 0;  // of the anagram part in the program, for the memo
    int initialBalance = 0;
    int otherPositions = 0;  // positions of the items other than sub-patterns
    int freeLetters = 0;     // letters left to the other items so far
    int distinctFree = 0;
    std::array<uint8_t, kLengthSlots> freeSorted{};  // their distinct letters, ascending
    bool lastItem = false;
    // How many free letters of each body position's letter the other items could take.
    std::array<int, kLengthSlots> takers{};
    std::array<uint8_t, 256> usable{};  // per letter: how many the letters, choices, variables take
  };

  // Fast matchers: the length is already right, so these tests make the whole match.

  // General matcher (Matcher.cpp).
  Pc body(Pc pc, int first, int length, int extra, int o);
  Pc sequence(Pc pc, int p, int extra, int o);
  Pc sequenceSteps(Pc pc, int p, int extra, int o);
  Pc run(Pc pc, int p, int o);
  uintptr_t programPlace(Pc pc) const;
  bool runThenWildcard(Pc pc) const;
  Pc wildcardBeforeRun(Pc runPc, int p, int extra);
  int unboundVariablesOf(Pc runPc) const;
  bool bindOrCompare(uint8_t variable, uint8_t letter);
  bool countLetters();
  bool tick();
  int charAt(int index) const;
  bool aligned(int p, int n, int o) const;
  int punctuationAt(int position) const { return m_punctuation[position]; }
  void scanText();
  Snapshot save() const { return {m_bindings}; }
  void restore(const Snapshot& s) { m_bindings = s.bindings; }

  // Anagram parts (AnagramMatcher.cpp).
  Pc anagram(Pc pc, int first, int length);
  bool placeSubPatterns(AnagramFrame& frame, Pc items, int positions, int balance);
  bool placeFrom(AnagramFrame& frame, Placement& placement, int i, int balance);
  static bool otherExtrasLeft(const Placement& placement, const SubItem& item);
  void leaveFree(AnagramFrame& frame, Placement& placement, uint8_t letter);
  void takeBack(AnagramFrame& frame, Placement& placement, uint8_t letter);
  bool leaveRestFree(AnagramFrame& frame, Placement& placement, int i, int balance);
  bool finishPlacement(AnagramFrame& frame, Placement& placement, int balance);
  bool placeEmpty(const AnagramFrame& frame, const SubItem& item);
  bool mayLeaveFree(const AnagramFrame& frame, const Placement& placement, int i,
                    int balance) const;
  PlacementKey placementKey(const AnagramFrame& frame, const Placement& placement, int i,
                            int balance) const;
  void countTakers(const AnagramFrame& frame, Placement& placement) const;
  bool namedLettersCannotFit(const AnagramFrame& frame, const Placement& placement) const;
  bool remainingItems(AnagramFrame& frame, Pc pc, int balance);
  bool choiceItem(AnagramFrame& frame, Pc pc, int occurrence, int highest, int balance);
  bool variablesItem(AnagramFrame& frame, Pc pc, int balance);
  bool bindVariables(AnagramFrame& frame, Pc pc, int variable, int balance, unsigned pending);
  int lowestLetterFor(Pc pc, int variable, unsigned pending) const;
  bool variablesCannotFit(const AnagramFrame& frame, Pc pc, int balance) const;
  bool lettersItem(const AnagramFrame& frame, Pc pc, int balance) const;
  int lettersShortfall(const AnagramFrame& frame) const;
  bool lettersCannotFit(const AnagramFrame& frame, int balance) const;
  void countAllLetters(AnagramFrame& frame) const;
  void listPresentLetters(AnagramFrame& frame) const;
  void recordBalance(int first, int length, Pc items);

  const CompiledPattern& m_pattern;
  const Alphabet& m_alphabet;
  const uint8_t* m_letters;
  const uint8_t* m_text;
  int m_length;
  int m_textLength = 0;
  MatchScratch& m_scratch;
  MatchMemo& m_memo;
  // Whether matched sequence outcomes may be reused: not where a sequence's sub-patterns hold
  // anagram parts, whose matches leave balance counts.
  bool m_reuseMatches;
  bool m_exclusive;

  std::array<uint8_t, kVariableCount> m_bindings;
  // The word's letter counts, filled only when the pattern counts letters: a matcher is made for
  // every entry, and the other patterns need not clear them.
  std::array<uint8_t, 256> m_letterCounts;
  std::array<int, kSlots> m_punctuation{};   // non-letters before each letter, and after the last
  std::array<int, kSlots> m_letterOffset{};  // text offset of each letter
  int m_endOffset = 0;  // non-letters passed when the last sequence reached its end
  long m_steps = 0;
  long m_work = 1;  // besides the attempts: the match itself, remembered outcomes, anagram parts
  bool m_abandoned = false;
};

}  // namespace qel::pattern
