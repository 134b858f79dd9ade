#include "search/PatternSearchMode.h"

#include "app/Messages.h"
#include "pattern/MacroExpansion.h"
#include "pattern/PatternErrors.h"
#include "search/CommonnessOrder.h"

namespace qel {

using pattern::PatternError;

SearchValidation PatternSearchMode::validate() {
  const SearchSettings& settings = m_context.settings;
  QCDictionaryList& dictionaries = m_context.dictionaries;
  const std::optional<std::string> expanded =
      expandMacros(m_context.pattern, settings.expansionAt, settings.expansionHash);
  if (!expanded) return refusedPattern(messageNumber(PatternError::kTooLong));
  bool anyEntries = false;
  for (int i = 0; i < dictionaries.count(); ++i) {
    if (!dictionaries.dictionary(i).valid()) {
      SearchValidation v;
      v.problem = SearchValidation::Problem::kInvalidDictionary;
      v.invalidDictionary = i;
      return v;
    }
    SearchPane& p = m_context.panes[i];
    const PatternError error =
        p.engine->parse(dictionaries.alphabet(i), *expanded, settings.shortest, settings.longest,
                        settings.variablesExclusive);
    if (error != PatternError::kValid) {
      // The dictionary's alphabet may be the reason, so its name goes in front.
      const bool named = error != PatternError::kNothingToMatch;
      return refusedPattern(messageNumber(error), named ? dictionaries.name(i) + ": " : "");
    }
    const LengthProblem problem = selectLengths(p);
    if (problem != LengthProblem::kNone) return refusedPattern(messageNumber(problem));
    for (int length = p.shortest; length <= p.longest; ++length) {
      anyEntries = anyEntries || dictionaries.entryCount(i, length) > 0;
    }
  }
  if (readsEntries() && !anyEntries) {
    SearchValidation v = refusedPattern(messageNumber(Message::kNoWordsOfLength));
    v.problem = SearchValidation::Problem::kNoWordsOfLength;
    return v;
  }
  return acceptedPattern();
}

int PatternSearchMode::lengthDirection() const {
  const SearchSettings& s = m_context.settings;
  return (!s.lengthGrouping || s.lengthGroupingAscending) ? 1 : -1;
}

LengthProblem PatternSearchMode::selectLengths(SearchPane& p) const {
  p.direction = lengthDirection();
  const LengthCheck check = p.engine->lengthCheck();
  p.shortest = check.range.first;
  p.longest = check.range.last;
  return check.problem;
}

void PatternSearchMode::begin() {
  const SearchSettings& s = m_context.settings;
  ResultOrder order =
      resultOrderFor(s.sorting, s.sortingAscending, s.lengthGrouping, s.lengthGroupingAscending);
  // A dictionary lists each length's entries alphabetically, so that a word search found in
  // order is already grouped by ascending length and alphabetical: most common first then
  // orders that, without the cost of keeping an ordered list as well.
  if (s.commonFirst && readsEntries() &&
      (order == ResultOrder::ShortFirstAscending || order == ResultOrder::Discovery))
    order = ResultOrder::Discovery;
  const int panes = static_cast<int>(m_context.panes.size());
  for (int i = 0; i < panes; ++i) {
    if (!searchesPane(i)) continue;
    // Earlier panes' results are looked up in an index while later panes are searched.
    const bool keepIndex =
        s.multiple == MultipleDictionaries::SuppressDuplicates && !s.sorting && i + 1 < panes;
    m_context.panes[i].results.setOrder(order, keepIndex);
  }
}

void PatternSearchMode::finishPane(int pane) {
  const SearchSettings& s = m_context.settings;
  if (!s.commonFirst || m_context.output.streaming()) return;
  ResultList& results = m_context.panes[pane].results;
  // Out of memory, the list keeps the order it has.
  results.arrange(commonFirstOrder(results, m_context.ranks[static_cast<size_t>(pane)],
                                   s.lengthGrouping, s.lengthGroupingAscending));
}

}  // namespace qel
