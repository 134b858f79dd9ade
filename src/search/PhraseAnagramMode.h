// A Phrase Anagram search: the letters given rearranged into combinations of the active
// dictionary's entries, each combination one result, those of common words first when the
// dictionary has ranks.
#pragma once

#include <memory>

#include "search/PhraseAnagramSearch.h"
#include "search/SearchMode.h"

namespace qel {

class PhraseAnagramMode : public SearchMode {
 public:
  explicit PhraseAnagramMode(SearchContext& context);
  ~PhraseAnagramMode() override;

  // The letters checked against the active dictionary, whose entries the search combines.
  SearchValidation validate() override;
  bool searchesPane(int pane) const override { return pane == activePane(); }
  void begin() override;
  // Combinations are ordered once all are found.
  bool streams() const override { return false; }
  bool startPane(int pane) override;
  Step step() override;
  void progress(SearchProgress& progress) const override;
  void finishPane(int pane) override;

 private:
  PhraseAnagramSettings anagramSettings() const;

  std::unique_ptr<PhraseAnagramSearch> m_search;
};

}  // namespace qel
