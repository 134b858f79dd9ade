#include "search/SearchMode.h"

#include <algorithm>

#include "app/Messages.h"
#include "pattern/PatternErrors.h"
#include "search/FullTextMode.h"
#include "search/PhraseAnagramMode.h"
#include "search/WordSearchMode.h"

namespace qel {

SearchPane::SearchPane() : engine(std::make_unique<MatchEngineSet>()) {}
SearchPane::~SearchPane() = default;
SearchPane::SearchPane(SearchPane&&) noexcept = default;
SearchPane& SearchPane::operator=(SearchPane&&) noexcept = default;

SearchValidation refusedPattern(int number, const std::string& prefix) {
  SearchValidation v;
  v.messageNumber = number;
  v.statusText = number ? prefix + std::string(messageText(number)) : std::string();
  return v;
}

SearchValidation acceptedPattern() {
  SearchValidation v;
  v.state = SearchState::Ready;
  v.messageNumber = messageNumber(pattern::PatternError::kValid);
  v.statusText = messageText(v.messageNumber);
  v.problem = SearchValidation::Problem::kNone;
  return v;
}

bool SearchMode::searchesPane(int pane) const {
  return m_context.settings.multiple != MultipleDictionaries::ActiveOnly || pane == activePane();
}

int SearchMode::activePane() const {
  const int panes = static_cast<int>(m_context.panes.size());
  const int active = m_context.settings.activePane;
  return active >= 0 && active < panes ? active : 0;
}

std::unique_ptr<SearchMode> makeSearchMode(SearchContext& context) {
  if (context.settings.phraseAnagram) return std::make_unique<PhraseAnagramMode>(context);
  if (context.settings.fullText) return std::make_unique<FullTextMode>(context);
  return std::make_unique<WordSearchMode>(context);
}

}  // namespace qel
