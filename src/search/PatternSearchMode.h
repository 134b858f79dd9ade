// What the searches of a pattern share: the pattern compiled for every dictionary, the lengths it
// can match, and the order of the results, most common first where asked once a pane is searched.
#pragma once

#include "search/SearchMode.h"

namespace qel {

class PatternSearchMode : public SearchMode {
 public:
  using SearchMode::SearchMode;

  SearchValidation validate() override;
  void begin() override;
  void finishPane(int pane) override;

 protected:
  // The lengths the pane's compiled pattern can match, into the pane's shortest and longest.
  virtual LengthProblem selectLengths(SearchPane& pane) const;
  // The order the lengths are visited in, as the length grouping asks.
  int lengthDirection() const;
  // Whether the search reads the entries of the lengths selected, which some dictionary must
  // have for the pattern to be worth searching.
  virtual bool readsEntries() const { return true; }
};

}  // namespace qel
