// The sliced search over the open dictionaries: validation, start and steps, the panes visited in
// turn, ranks and progress. What each step does is the search mode's.
#include "search/SearchSession.h"

#include <new>
#include <utility>

#include "app/Messages.h"
#include "pattern/MacroExpansion.h"
#include "pattern/MatchEngineSet.h"
#include "pattern/PatternErrors.h"

namespace qel {

SearchSession::SearchSession(QCDictionaryList& dictionaries) : m_dictionaries(dictionaries) {
  m_panes.resize(dictionaries.count());
}

SearchSession::~SearchSession() = default;

void SearchSession::takeResults(SearchSession& earlier, const std::vector<int>& origin) {
  for (int i = 0; i < paneCount() && i < static_cast<int>(origin.size()); ++i) {
    const int from = origin[i];
    if (from < 0 || from >= earlier.paneCount()) continue;
    Pane& source = earlier.m_panes[from];
    Pane& pane = m_panes[i];
    std::swap(pane.results, source.results);
    pane.searchPattern = std::move(source.searchPattern);
    pane.searchSettings = source.searchSettings;
    pane.dictionaryStamp = source.dictionaryStamp;
  }
  loadRanks();  // the results kept show their ranks before the next search
}

void SearchSession::setState(SearchState state) {
  if (state == SearchState::Ready || state == SearchState::NoPattern) m_searchPane = -1;
  m_state = state;
}

SearchSession::Validation SearchSession::validate(const std::string& pattern,
                                                  const SearchSettings& settings) {
  m_settings = settings;
  m_pattern = pattern;
  if (static_cast<int>(m_panes.size()) != m_dictionaries.count()) {
    m_panes.resize(m_dictionaries.count());
  }
  for (int i = m_dictionaries.count() - 1; i >= 0; --i) m_dictionaries.recheck(i);
  m_mode = makeSearchMode(m_context);
  Validation v;
  if (m_dictionaries.count() == 0) {
    v = refusedPattern(messageNumber(Message::kNoDictionary));
    v.problem = Validation::Problem::kNoDictionary;
  } else {
    v = m_mode->validate();
  }
  setState(v.state);
  return v;
}

std::unique_ptr<MatchEngineSet> SearchSession::searchPatterns(int i) const {
  if (i < 0 || i >= paneCount() || m_panes[i].searchPattern.empty()) return nullptr;
  if (!m_dictionaries.dictionary(i).valid()) return nullptr;
  const SearchSettings& settings = m_panes[i].searchSettings;
  const std::optional<std::string> expanded =
      expandMacros(m_panes[i].searchPattern, settings.expansionAt, settings.expansionHash);
  if (!expanded) return nullptr;
  auto patterns = std::make_unique<MatchEngineSet>();
  if (patterns->parse(m_dictionaries.alphabet(i), *expanded, settings.shortest, settings.longest,
                      settings.variablesExclusive) != pattern::PatternError::kValid) {
    return nullptr;
  }
  return patterns;
}

bool SearchSession::start() {
  if (m_state != SearchState::Ready && m_state != SearchState::Paused) return false;
  if (m_dictionaries.firstInvalidPath()) {
    validate(m_pattern, m_settings);
    return false;
  }
  const SearchState previous = m_state;
  m_state = SearchState::Searching;
  m_failure = Failure::kNone;
  m_failedPath.reset();
  m_workLeft = m_workBudget;
  if (previous == SearchState::Paused) {
    m_output.resume();
    if (m_searchPane >= 0) limitWork(m_panes[m_searchPane]);
    return true;
  }
  loadRanks();  // as the files beside are now
  m_failureText.clear();
  // Most common first needs every result before it can order them.
  m_output.begin(m_mode->streams() && paneCount() == 1 && !m_settings.sorting &&
                 !m_settings.commonFirst);
  m_watch = std::make_unique<DictionaryWatch>(m_dictionaries);
  for (int i = 0; i < paneCount(); ++i) {
    if (!m_mode->searchesPane(i)) continue;
    Pane& p = m_panes[i];
    p.searchPattern = m_pattern;
    p.searchSettings = m_settings;
    p.results.clear();
  }
  m_mode->begin();
  m_searchPane = -1;
  nextPane();
  return true;
}

void SearchSession::limitWork(Pane& pane) {
  m_workMark = pane.engine->work();
  pane.engine->setWorkLimit(m_workMark + m_workLeft);
}

void SearchSession::countWork(Pane& pane) {
  m_workLeft -= pane.engine->work() - m_workMark;
  m_workMark = pane.engine->work();
}

void SearchSession::pause() {
  if (m_state == SearchState::Searching) m_state = SearchState::Paused;
}

bool SearchSession::step() {
  if (m_state != SearchState::Searching) return false;
  SearchMode::Step stepped = SearchMode::Step::kMore;
  bool outOfMemory = false;
  try {
    if (m_searchPane >= 0 && m_output.storeWaiting(m_panes[m_searchPane].results)) {
      stepped = m_mode->step();
    }
  } catch (const std::bad_alloc&) {
    outOfMemory = true;
  }
  if (outOfMemory || m_output.outOfMemory() || stepped == SearchMode::Step::kTooMuchWork) {
    m_failure =
        stepped == SearchMode::Step::kTooMuchWork ? Failure::kTooMuchWork : Failure::kOutOfMemory;
    setState(SearchState::Paused);
    // The pause keeps the pane where it is.
    return false;
  }
  if (stepped == SearchMode::Step::kInvalidated) {
    m_panes[m_searchPane].results.clear();
    invalidate(m_mode->ending().changedPath);
    return false;
  }
  if (const std::optional<std::string> changed = m_watch ? m_watch->changed() : std::nullopt) {
    for (int i = 0; i < paneCount(); ++i) {
      if (m_watch->changed(i)) m_panes[i].results.clear();
    }
    invalidate(changed);
    return false;
  }
  if (m_output.stopped()) {
    m_failure = Failure::kStopped;
    setState(SearchState::Ready);
    return false;
  }
  if (stepped == SearchMode::Step::kPaneDone) {
    m_mode->finishPane(m_searchPane);
    if (m_mode->ending().failure != Failure::kNone) {
      m_failure = m_mode->ending().failure;
      m_failureText = m_mode->ending().text;
    }
    nextPane();
  }
  if (m_searchPane < 0) {
    setState(SearchState::Ready);
    return false;
  }
  return true;
}

void SearchSession::invalidate(const std::optional<std::string>& path) {
  m_failure = Failure::kDictionaryInvalidated;
  m_failedPath = path;
  setState(SearchState::NoPattern);
}

// Mapping a ranks file costs next to nothing; its lookups are made only where ranks are used.
void SearchSession::loadRanks() {
  m_ranks.clear();
  m_ranks.resize(static_cast<size_t>(paneCount()));
  m_ranksErrors.assign(static_cast<size_t>(paneCount()), std::string());
  // A search that neither orders, filters nor shows its results by commonness leaves them be.
  if (!m_ranksShown && !m_settings.commonFirst && m_settings.maxRank >= CommonnessRanks::kRarest &&
      !m_settings.phraseAnagram) {
    return;
  }
  for (int i = 0; i < paneCount(); ++i) {
    // Damaged ranks count as none: the search goes on, every word unranked.
    m_ranksErrors[i] = m_ranks[static_cast<size_t>(i)].loadFor(m_dictionaries.path(i)).reason();
  }
}

const std::string& SearchSession::ranksError(int pane) const {
  static const std::string none;
  return pane >= 0 && pane < static_cast<int>(m_ranksErrors.size()) ? m_ranksErrors[pane] : none;
}

bool SearchSession::hasRanks(int pane) const {
  return pane >= 0 && pane < static_cast<int>(m_ranks.size()) &&
         !m_ranks[static_cast<size_t>(pane)].empty();
}

uint8_t SearchSession::rankOf(int pane, std::string_view entry) const {
  if (pane < 0 || pane >= static_cast<int>(m_ranks.size())) return CommonnessRanks::kRarest;
  const CommonnessRanks& ranks = m_ranks[static_cast<size_t>(pane)];
  return m_panes[pane].searchSettings.phraseAnagram ? ranks.rankOfWords(entry)
                                                    : ranks.rankOf(entry);
}

void SearchSession::nextPane() {
  if (m_searchPane >= 0) countWork(m_panes[m_searchPane]);
  for (++m_searchPane; m_searchPane < paneCount(); ++m_searchPane) {
    if (!m_mode->searchesPane(m_searchPane)) continue;
    limitWork(m_panes[m_searchPane]);
    if (m_mode->startPane(m_searchPane)) return;
    m_mode->finishPane(m_searchPane);
  }
  m_searchPane = -1;
}

bool SearchSession::searchesPane(int i) const {
  return m_mode ? m_mode->searchesPane(i)
                : m_settings.multiple != MultipleDictionaries::ActiveOnly ||
                      i == m_settings.activePane;
}

std::string SearchSession::paneHeading(int i) const {
  return std::to_string(i + 1) + " " + m_dictionaries.name(i) + " (" +
         std::to_string(m_panes[i].results.count()) + ")";
}

std::string SearchSession::undecidedText(long undecided) {
  return std::to_string(undecided) + (undecided == 1 ? " entry was" : " entries were") +
         " left out: the pattern needs too much work to decide them";
}

long SearchSession::undecidedEntries() const {
  long undecided = 0;
  for (const Pane& p : m_panes) undecided += p.engine->abandonedMatches();
  return undecided;
}

SearchSession::Progress SearchSession::progress() const {
  Progress progress;
  progress.pane = m_searchPane;
  if (m_searchPane >= 0 && m_mode) m_mode->progress(progress);
  return progress;
}

}  // namespace qel
