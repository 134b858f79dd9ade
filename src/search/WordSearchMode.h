// A word search: each pane's dictionary read length by length, and the entries that its compiled
// pattern accepts become results, stored or handed over as they are found.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "search/PatternSearchMode.h"

namespace qel {

class EntryEnumerator;

class WordSearchMode : public PatternSearchMode {
 public:
  static constexpr int kCandidateBudget = 401;  // rejected candidates per step

  explicit WordSearchMode(SearchContext& context);
  ~WordSearchMode() override;

  bool startPane(int pane) override;
  // Ends at the first accepted entry, after kCandidateBudget rejected candidates, when the
  // enumerator's own budget runs out or at a change of length. A streaming search goes on past
  // accepted entries, which count as candidates.
  Step step() override;
  void progress(SearchProgress& progress) const override;
  void finishPane(int pane) override;

 private:
  // Moves to the next length in visiting order whose section has entries and that the pattern
  // can match; lengths passed over count as examined.
  bool advanceLength();
  bool acceptable(const char* text) const;
  // Whether acceptable() says yes to every text: every kind of entry is wanted, and no earlier
  // pane's results are to be left out. A search then skips the test of each text.
  bool acceptsEveryText() const;
  uint8_t rankOf(std::string_view entry) const;
  // Every entry wanted as its word alone, written as lines straight from where they lie: false
  // when none could be.
  bool handLines();

  int m_pane = -1;
  int m_currentLength = SearchPane::kIdle;
  std::unique_ptr<EntryEnumerator> m_enumerator;
  long m_examinedBefore = 0;             // entries of the finished lengths of the pane
  std::vector<std::string> m_separated;  // annotations of results handed over together
  std::vector<char> m_lines;             // what was last handed over as lines
};

}  // namespace qel
