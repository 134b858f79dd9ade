// The patterns of one search for one dictionary, joined by "&", "|", "!" and group brackets:
// decides whether an entry matches, which lengths can match, and the anagram balance of a match.
#pragma once

#include <climits>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "dictionary/Alphabet.h"
#include "dictionary/EntryFilter.h"
#include "pattern/FixedLetterScan.h"
#include "pattern/MatchEngine.h"
#include "pattern/Matcher.h"
#include "pattern/PatternErrors.h"
#include "pattern/PatternLimits.h"

namespace qel {

struct LengthRange {
  int first = 32;  // an empty range is (32, 0)
  int last = 0;
  bool empty() const { return first > last; }
};

// Why a pattern set has no length to search.
enum class LengthProblem {
  kNone,
  kShortestLongestStopPattern,  // its lengths lie outside the user's Shortest/Longest
  kIncompatibleLengths,         // no length satisfies its patterns together
};

struct LengthCheck {
  LengthProblem problem = LengthProblem::kNone;
  LengthRange range;  // the lengths to search, Shortest/Longest applied
};

class MatchEngineSet : public EntryFilter {
 public:
  MatchEngineSet() = default;
  MatchEngineSet(const MatchEngineSet&) = delete;
  MatchEngineSet& operator=(const MatchEngineSet&) = delete;

  // Parses macro-expanded pattern text for one dictionary alphabet (which must outlive the set)
  // and returns the first error (kValid when there is none). Destroys the previous engines.
  // Shortest and Longest are the user's; each engine clamps them into 1..kLongestWord.
  pattern::PatternError parse(const Alphabet& alphabet, std::string_view text, int shortest,
                              int longest, bool exclusiveVariables = true);
  pattern::PatternError error() const { return m_error; }
  bool valid() const { return m_error == pattern::PatternError::kValid; }
  void clear();
  bool empty() const { return m_operations.empty(); }

  // First and last length that some combination of the patterns can match.
  LengthRange lengthRange() const;
  // The check made before a search: the range with the Shortest/Longest given to parse(), or why
  // there is none.
  LengthCheck lengthCheck();

  // Prepares the engines for entries of this length; false when the set is one pattern that cannot
  // match it, so the caller can skip the length.
  bool setCurrentLength(int length);

  // EntryFilter: letters end with 0xFF, text is the entry's display text. An empty set accepts
  // everything, a set whose parse failed nothing. Lengths outside lengthRange() never match.
  bool accepts(const uint8_t* letters, int length, const char* text) override;
  bool readsText() const override { return m_direct == nullptr; }
  size_t acceptedAmong(const uint8_t* letters, size_t stride, size_t count, int length,
                       size_t* found, size_t capacity) override;
  // Only an anagram with blanks leaves a balance behind.
  bool acceptsAlike() const override {
    return m_direct != nullptr && m_direct->matcher != pattern::MatcherKind::AnagramBlanks;
  }

  // True when every entry of a length the set accepts matches ("*"): a search need not offer
  // the entries one by one.
  bool matchesEveryEntry() const;

  // Anagram balance of the entry just accepted, behind the prefix; empty unless the set is one
  // pattern and exactly one anagram part was matched.
  std::string balanceText(std::string_view prefix) const;

  // For callers that try each pattern on its own (full-text search): one slot per operation;
  // a slot holds an engine or is a group bracket (null).
  size_t slotCount() const { return m_operations.size(); }
  uint8_t operation(size_t slot) const { return m_operations[slot]; }
  const MatchEngine* engine(size_t slot) const { return m_engines[slot].get(); }
  // Matches one slot's pattern against a word of the given length (which it must accept).
  bool matchSlot(size_t slot, const uint8_t* letters, int length, const char* text);
  // Evaluates the operations with marked[slot] != 0 for the patterns that matched.
  bool evaluateGathered(const std::vector<uint8_t>& marked) const;

  // Matches given up since the last parse because they needed too many attempts.
  long abandonedMatches() const { return m_scratch.abandoned; }
  // Attempts one match of one entry may make before it is given up (for tools that must finish
  // quickly whatever the pattern, such as the fuzz targets).
  void setStepBound(long steps) { m_scratch.stepBound = steps; }
  // The matcher's work since the last parse, over every entry (MatchScratch::work).
  long work() const { return m_scratch.work; }
  // The work after which halted() asks an enumeration to stop; none until set.
  void setWorkLimit(long work) { m_workLimit = work; }
  bool halted() const override { return m_scratch.work > m_workLimit; }
  std::string dump() const;

 private:
  enum class Mode { Full, LengthOnly, Gathered };
  bool evaluate(Mode mode, int length, const pattern::MatchSubject* subject,
                const std::vector<uint8_t>* marked) const;
  bool slotResult(Mode mode, size_t slot, int length, const pattern::MatchSubject* subject,
                  const std::vector<uint8_t>* marked) const;
  void updateRange();
  void setShortestLongest(int shortest, int longest);
  void markAndOperands();
  // Whether the direct pattern asks nothing of entries of `length` but fixed letters, which m_scan
  // then tests.
  bool scansFixedLetters(int length);

  // The one pattern of a set that a fast matcher decides from the letters alone, and the lengths it
  // can match: the common case of a search, offered every entry of a length.
  const pattern::CompiledPattern* m_direct = nullptr;
  int m_directFirst = 0;
  int m_directLast = -1;
  // The direct pattern's fixed letters at the length last scanned in bulk (0: none yet), and
  // whether they are all it asks there.
  int m_scanLength = 0;
  bool m_scanFixed = false;
  pattern::FixedLetterScan m_scan;

  const Alphabet* m_alphabet = nullptr;
  std::vector<std::unique_ptr<MatchEngine>> m_engines;
  std::vector<uint8_t> m_operations;
  // Per slot: the pattern, or the group a slot opens, is an operand of "&".
  std::vector<uint8_t> m_andOperand;
  pattern::PatternError m_error = pattern::PatternError::kValid;
  LengthRange m_range;
  int m_shortest = 1;  // the user's, as given to parse()
  int m_longest = pattern::kLongestWord;
  int m_currentLength = 0;
  mutable pattern::MatchScratch m_scratch;
  long m_workLimit = LONG_MAX;
};

}  // namespace qel
