// The sliced search over the open dictionaries: validation, start and steps, the panes visited in
// turn, full-text steps, ranks and progress. A word search's steps and the Phrase Anagram search
// have files of their own.
#include "search/SearchSession.h"

#include <new>
#include <utility>

#include "app/Messages.h"
#include "dictionary/EntryEnumerator.h"
#include "pattern/MacroExpansion.h"
#include "pattern/MatchEngineSet.h"
#include "pattern/PatternErrors.h"
#include "search/CommonnessOrder.h"
#include "search/FullTextCursor.h"

namespace qel {

using pattern::PatternError;

SearchSession::Pane::Pane() : engine(std::make_unique<MatchEngineSet>()) {}
SearchSession::Pane::~Pane() = default;
SearchSession::Pane::Pane(Pane&&) noexcept = default;
SearchSession::Pane& SearchSession::Pane::operator=(Pane&&) noexcept = default;

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
  if (state == SearchState::Ready || state == SearchState::NoPattern) {
    m_enumerator.reset();
    m_fullText.reset();
    m_anagram.reset();
    m_searchPane = -1;
  }
  m_state = state;
}

SearchSession::Validation SearchSession::validate(const std::string& pattern,
                                                  const SearchSettings& settings) {
  m_settings = settings;
  m_pattern = pattern;
  if (static_cast<int>(m_panes.size()) != m_dictionaries.count()) {
    m_panes.resize(m_dictionaries.count());
  }
  Validation v;
  auto fail = [&](int number, const std::string& prefix) {
    v.state = SearchState::NoPattern;
    v.messageNumber = number;
    v.statusText = number ? prefix + std::string(messageText(number)) : std::string();
    setState(v.state);
    return v;
  };
  for (int i = m_dictionaries.count() - 1; i >= 0; --i) m_dictionaries.recheck(i);
  if (m_dictionaries.count() == 0) return fail(messageNumber(Message::kNoDictionary), "");
  if (settings.phraseAnagram) return validateAnagram(pattern);

  const std::optional<std::string> expanded =
      expandMacros(pattern, settings.expansionAt, settings.expansionHash);
  if (!expanded) return fail(messageNumber(PatternError::kTooLong), "");
  bool anyEntries = false;
  for (int i = 0; i < m_dictionaries.count(); ++i) {
    if (!m_dictionaries.dictionary(i).valid()) {
      v.invalidDictionary = i;
      return fail(0, "");
    }
    Pane& p = m_panes[i];
    const PatternError error =
        p.engine->parse(m_dictionaries.alphabet(i), *expanded, settings.shortest, settings.longest,
                        settings.variablesExclusive);
    if (error != PatternError::kValid) {
      // The dictionary's alphabet may be the reason, so its name goes in front.
      const bool named = error != PatternError::kNothingToMatch;
      return fail(messageNumber(error), named ? m_dictionaries.name(i) + ": " : "");
    }
    const LengthProblem problem = selectLengths(p);
    if (problem != LengthProblem::kNone) return fail(messageNumber(problem), "");
    for (int length = p.shortest; length <= p.longest; ++length) {
      anyEntries = anyEntries || m_dictionaries.entryCount(i, length) > 0;
    }
  }
  if (!settings.fullText && !anyEntries) return fail(messageNumber(Message::kNoWordsOfLength), "");
  v.state = SearchState::Ready;
  v.messageNumber = messageNumber(PatternError::kValid);
  v.statusText = messageText(v.messageNumber);
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
                      settings.variablesExclusive) != PatternError::kValid) {
    return nullptr;
  }
  return patterns;
}

// The lengths to visit and the order; Full Text Search visits none.
LengthProblem SearchSession::selectLengths(Pane& p) const {
  p.step = (!m_settings.lengthGrouping || m_settings.lengthGroupingAscending) ? 1 : -1;
  if (m_settings.fullText) {
    p.shortest = 32;
    p.longest = 0;
    return LengthProblem::kNone;
  }
  const LengthCheck check = p.engine->lengthCheck();
  p.shortest = check.range.first;
  p.longest = check.range.last;
  return check.problem;
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
  if (previous == SearchState::Ready) loadRanks();  // as the files beside are now
  if (previous == SearchState::Ready && m_settings.phraseAnagram) {
    m_pending.reset();
    m_failureText.clear();
    startAnagram();
    return true;
  }
  if (m_anagram) return true;  // resumed where it paused
  if (previous == SearchState::Ready) {
    m_pending.reset();
    // Most common first needs every result before it can order them.
    m_streaming = m_sink && paneCount() == 1 && !m_settings.sorting && !m_settings.commonFirst;
    m_watch = std::make_unique<DictionaryWatch>(m_dictionaries);
    ResultOrder order =
        resultOrderFor(m_settings.sorting, m_settings.sortingAscending, m_settings.lengthGrouping,
                       m_settings.lengthGroupingAscending);
    // A dictionary lists each length's entries alphabetically, so that a word search found in
    // order is already grouped by ascending length and alphabetical: most common first then
    // orders that, without the cost of keeping an ordered list as well.
    if (m_settings.commonFirst && !m_settings.fullText &&
        (order == ResultOrder::ShortFirstAscending || order == ResultOrder::Discovery))
      order = ResultOrder::Discovery;
    for (int i = 0; i < paneCount(); ++i) {
      if (!searchesPane(i)) continue;
      Pane& p = m_panes[i];
      p.searchPattern = m_pattern;
      p.searchSettings = m_settings;
      p.results.clear();
      const bool keepIndex = m_settings.multiple == MultipleDictionaries::SuppressDuplicates &&
                             !m_settings.sorting && i + 1 < paneCount();
      p.results.setOrder(order, keepIndex);
    }
    m_searchPane = -1;
    m_workLeft = m_workBudget;
    nextDictionary();
  } else {
    m_workLeft = m_workBudget;
    if (m_searchPane >= 0) limitWork(m_panes[m_searchPane]);
  }
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
  if (m_anagram) return stepAnagram();
  try {
    stepPane();
  } catch (const std::bad_alloc&) {
    m_failure = Failure::kOutOfMemory;
  }
  if (m_failure == Failure::kOutOfMemory || m_failure == Failure::kTooMuchWork) {
    setState(SearchState::Paused);
    return false;
  }
  if (const std::optional<std::string> changed = m_watch ? m_watch->changed() : std::nullopt) {
    // What was read from the file may be mixed or partial.
    m_failure = Failure::kDictionaryInvalidated;
    m_failedPath = changed;
    for (int i = 0; i < paneCount(); ++i) {
      if (m_watch->changed(i)) m_panes[i].results.clear();
    }
    m_enumerator.reset();
    m_fullText.reset();
    m_searchPane = -1;
    setState(SearchState::NoPattern);
    return false;
  }
  if (m_searchPane < 0) {
    setState(SearchState::Ready);
    return false;
  }
  return true;
}

void SearchSession::stepPane() {
  if (m_searchPane < 0) return;
  Pane& p = m_panes[m_searchPane];
  if (m_pending) {
    PendingResult r = std::move(*m_pending);
    m_pending.reset();
    if (!addResult(p, std::move(r.entry), std::move(r.annotation), std::move(r.extra),
                   r.definitionNumber))
      return;
  }
  if (m_settings.fullText) {
    stepFullText(p);
  } else {
    stepWordSearch(p);
  }
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

bool SearchSession::addResult(Pane& pane, std::string entry, std::string annotation,
                              std::string extra, int32_t definitionNumber) {
  if (m_streaming) {
    const StreamedResult result{entry, annotation, extra, definitionNumber};
    m_sink({&result, 1});
    return true;
  }
  if (pane.results.add(entry, annotation, extra, definitionNumber) >= 0 ||
      !pane.results.outOfMemory()) {
    return true;  // stored, or beyond what a list can hold
  }
  m_pending =
      PendingResult{std::move(entry), std::move(annotation), std::move(extra), definitionNumber};
  m_failure = Failure::kOutOfMemory;
  return false;
}

void SearchSession::nextDictionary() {
  m_enumerator.reset();
  m_fullText.reset();
  if (m_searchPane >= 0) countWork(m_panes[m_searchPane]);
  const bool activeOnly = m_settings.multiple == MultipleDictionaries::ActiveOnly;
  for (;;) {
    if (m_searchPane < 0) {
      m_searchPane = activeOnly ? m_settings.activePane : 0;
      if (m_searchPane >= paneCount()) m_searchPane = 0;
    } else if (activeOnly || m_searchPane + 1 >= paneCount()) {
      m_searchPane = -1;
      return;
    } else {
      ++m_searchPane;
    }
    m_examinedBefore = 0;
    Pane& p = m_panes[m_searchPane];
    limitWork(p);
    if (m_settings.fullText) {
      m_fullText = FullTextCursor::create(m_dictionaries, m_searchPane, *p.engine,
                                          &p.dictionaryStamp, m_settings.fullTextWithoutIndex);
      if (m_fullText && m_fullText->total() > 0) return;
    } else {
      m_enumerator = std::make_unique<EntryEnumerator>(m_dictionaries, m_searchPane);
      if (selectLengths(p) == LengthProblem::kNone && selectFirstLength(p)) return;
    }
    finishPane(p);
    m_enumerator.reset();
    m_fullText.reset();
  }
}

bool SearchSession::stepFullText(Pane& p) {
  FullTextCursor::Result result;
  switch (m_fullText->next(result)) {
    case FullTextCursor::Step::Result:
      addResult(p, result.entry, "", separated(result.context), result.definitionNumber);
      break;
    case FullTextCursor::Step::Progress:
      break;
    case FullTextCursor::Step::Finished:
      finishPane(p);
      nextDictionary();
      break;
  }
  return true;
}

void SearchSession::finishPane(Pane& p) {
  if (m_settings.commonFirst && !m_streaming && !m_settings.phraseAnagram) {
    const CommonnessRanks& ranks = m_ranks[static_cast<size_t>(&p - m_panes.data())];
    // Out of memory, the list keeps the order it has.
    p.results.arrange(commonFirstOrder(p.results, ranks, m_settings.lengthGrouping,
                                       m_settings.lengthGroupingAscending));
  }
  p.currentLength = kIdle;
}

bool SearchSession::searchesPane(int i) const {
  if (m_settings.phraseAnagram) return i == m_settings.activePane;
  return m_settings.multiple != MultipleDictionaries::ActiveOnly || i == m_settings.activePane;
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
  if (m_searchPane < 0) return progress;
  const Pane& p = m_panes[m_searchPane];
  progress.currentLength = p.currentLength;
  if (m_anagram) {
    const PhraseAnagramSearch::Progress a = m_anagram->progress();
    // Reading the dictionary is the first half of the bar, combining its words the second.
    const long half = 1'000'000;
    const double share = a.total > 0 ? static_cast<double>(a.done) / a.total : 0;
    progress.examined = static_cast<long>(share * half) +
                        (a.phase == PhraseAnagramSearch::Phase::kCombining ? half : 0);
    progress.total = 2 * half;
    return progress;
  }
  if (m_fullText) {
    progress.examined = m_fullText->position();
    progress.total = m_fullText->total();
    return progress;
  }
  progress.examined = m_examinedBefore + (m_enumerator ? m_enumerator->entriesScanned() : 0);
  for (int length = p.shortest; length <= p.longest; ++length) {
    progress.total += m_dictionaries.entryCount(m_searchPane, length);
  }
  return progress;
}

}  // namespace qel
