// The Phrase Anagram search of a session: its letters checked against the active dictionary, the
// search started with its combinations as results, and its steps, after which the combinations of
// common words come first when the dictionary has ranks.
#include <algorithm>
#include <new>

#include "app/Messages.h"
#include "pattern/PatternErrors.h"
#include "search/CommonnessOrder.h"
#include "search/SearchSession.h"

namespace qel {

using pattern::PatternError;

namespace {

PhraseAnagramSettings anagramSettings(const SearchSettings& settings) {
  PhraseAnagramSettings a;
  a.words = std::clamp(settings.anagramWords, 1, PhraseAnagramSettings::kMaxWords);
  a.shortest = settings.shortest;
  return a;
}

}  // namespace

// The letters checked against the active dictionary, whose entries the search combines.
SearchSession::Validation SearchSession::validateAnagram(const std::string& letters) {
  Validation v;
  const int pane = std::clamp(m_settings.activePane, 0, m_dictionaries.count() - 1);
  v.state = SearchState::NoPattern;
  if (m_dictionaries.dictionary(pane).valid()) {
    PhraseAnagramSearch check(m_dictionaries, pane);
    const PhraseAnagramSearch::Validation problem =
        check.start(letters, anagramSettings(m_settings));
    if (problem.problem == PhraseAnagramSearch::Problem::kNone) {
      v.state = SearchState::Ready;
      v.messageNumber = messageNumber(PatternError::kValid);
      v.statusText = messageText(v.messageNumber);
    } else {
      v.statusText = m_dictionaries.name(pane) + ": " + problem.text;
    }
  }
  setState(v.state);
  return v;
}

void SearchSession::startAnagram() {
  const int active = std::clamp(m_settings.activePane, 0, paneCount() - 1);
  m_streaming = false;
  m_watch = std::make_unique<DictionaryWatch>(m_dictionaries);
  Pane& p = m_panes[active];
  p.searchPattern = m_pattern;
  p.searchSettings = m_settings;
  p.results.clear();
  p.results.setOrder(ResultOrder::Discovery, false);
  // Every combination holds the letters given, no more: the length its results have, as a word
  // search's pane keeps the lengths it searched (a dictionary saved from it takes those).
  int letters = 0;
  for (const char c : m_pattern)
    letters += m_dictionaries.alphabet(active).letterIndex[static_cast<uint8_t>(c)] != kNotALetter;
  p.shortest = p.longest = letters;
  m_anagram = std::make_unique<PhraseAnagramSearch>(m_dictionaries, active);
  // Each combination is one result, its words apart by blanks as a phrase is.
  m_anagram->setSink([this, active](std::span<const std::string_view> words) {
    std::string line;
    for (const std::string_view word : words) {
      if (!line.empty()) line += ' ';
      line += word;
    }
    addResult(m_panes[active], std::move(line), std::string(), std::string(), 0);
  });
  m_anagram->start(m_pattern, anagramSettings(m_settings));
  m_searchPane = active;
}

bool SearchSession::stepAnagram() {
  bool more = false;
  try {
    more = m_anagram->step();
  } catch (const std::bad_alloc&) {
    m_failure = Failure::kOutOfMemory;
  }
  if (m_failure == Failure::kOutOfMemory) {
    setState(SearchState::Paused);
    return false;
  }
  if (more) return true;
  switch (m_anagram->ending()) {
    case PhraseAnagramSearch::Ending::kComplete:
      break;
    case PhraseAnagramSearch::Ending::kLimitReached:
      m_failure = Failure::kResultLimit;
      // A status bar's text: short enough for the window's default width.
      m_failureText = "Stopped at " + std::to_string(anagramSettings(m_settings).limit) +
                      " combinations: there are more";
      break;
    case PhraseAnagramSearch::Ending::kDictionaryInvalidated:
      m_failure = Failure::kDictionaryInvalidated;
      m_failedPath = m_anagram->changedPath();
      m_panes[m_searchPane].results.clear();
      setState(SearchState::NoPattern);
      return false;
    case PhraseAnagramSearch::Ending::kOutOfMemory:
      m_failure = Failure::kOutOfMemory;
      break;
  }
  // With ranks, the combinations of common words come first, fewer words before more.
  ResultList& results = m_panes[m_searchPane].results;
  if (hasRanks(m_searchPane)) {
    std::vector<std::string_view> rows(static_cast<size_t>(results.count()));
    for (long i = 0; i < results.count(); ++i)
      rows[static_cast<size_t>(i)] = results.record(i)->entry();
    // Out of memory, the order found stays.
    results.arrange(commonPhrasesFirstOrder(rows, m_ranks[static_cast<size_t>(m_searchPane)]));
  }
  finishPane(m_panes[m_searchPane]);
  setState(SearchState::Ready);
  return false;
}

}  // namespace qel
