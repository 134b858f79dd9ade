// A full-text search: each pane's definitions searched for the pattern's words, through the
// dictionary's index where it has one, each matching entry a result with the words around it.
#pragma once

#include <memory>

#include "search/PatternSearchMode.h"

namespace qel {

class FullTextCursor;

class FullTextMode : public PatternSearchMode {
 public:
  explicit FullTextMode(SearchContext& context);
  ~FullTextMode() override;

  bool startPane(int pane) override;
  Step step() override;
  void progress(SearchProgress& progress) const override;
  void finishPane(int pane) override;

 protected:
  // It visits no lengths.
  LengthProblem selectLengths(SearchPane& pane) const override;
  bool readsEntries() const override { return false; }

 private:
  int m_pane = -1;
  std::unique_ptr<FullTextCursor> m_cursor;
};

}  // namespace qel
