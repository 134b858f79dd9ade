// The sliced search over the open dictionaries.
#include "search/SearchSession.h"

#include <algorithm>
#include <new>
#include <utility>

#include "app/Messages.h"
#include "dictionary/EntryEnumerator.h"
#include "pattern/MacroExpansion.h"
#include "pattern/MatchEngineSet.h"
#include "pattern/PatternErrors.h"
#include "search/CommonnessOrder.h"
#include "search/EntryClass.h"
#include "search/FullTextCursor.h"

namespace qel {

using pattern::PatternError;
namespace {

// Goes between an entry and its anagram balance in a result.
constexpr char kBalanceSeparator[] = " ";

}  // namespace

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
    if (!m_dictionaries.dictionary(i).valid()) return fail(0, "");
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
    const PhraseAnagramSearch::Validation problem = check.start(letters, anagramSettings(m_settings));
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
      m_failureText = m_anagram->endingText();
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
    for (long i = 0; i < results.count(); ++i) rows[static_cast<size_t>(i)] = results.record(i)->entry();
    // Out of memory, the order found stays.
    results.arrange(commonPhrasesFirstOrder(rows, m_ranks[static_cast<size_t>(m_searchPane)]));
  }
  finishPane(m_panes[m_searchPane]);
  setState(SearchState::Ready);
  return false;
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
  for (int i = 0; i < paneCount(); ++i) {
    // Damaged ranks count as none: the search goes on, every word unranked.
    m_ranks[static_cast<size_t>(i)].loadFor(m_dictionaries.path(i), m_ranksErrors[i]);
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
  return m_panes[pane].searchSettings.phraseAnagram ? ranks.rankOfWords(entry) : ranks.rankOf(entry);
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

bool SearchSession::selectFirstLength(Pane& p) {
  p.currentLength = p.step < 0 ? p.longest : p.shortest;
  p.currentLength -= p.step;
  return advanceLength(p);
}

// Moves to the next length in visiting order whose section has entries and that the pattern can
// match; lengths passed over count as examined.
bool SearchSession::advanceLength(Pane& p) {
  for (;;) {
    p.currentLength += p.step;
    if (p.currentLength < p.shortest || p.currentLength > p.longest) {
      p.currentLength = kIdle;
      return false;
    }
    if (p.engine->setCurrentLength(p.currentLength) &&
        m_enumerator->selectLength(p.currentLength)) {
      return true;
    }
    m_examinedBefore += m_dictionaries.entryCount(m_searchPane, p.currentLength);
  }
}

bool SearchSession::acceptsEveryText(int pane) const {
  const SearchSettings& s = m_settings;
  return s.outputLower && s.outputUpper && s.outputPunctuation && s.outputWhitespace &&
         s.maxRank >= CommonnessRanks::kRarest &&
         (s.multiple != MultipleDictionaries::SuppressDuplicates || pane == 0);
}

bool SearchSession::acceptable(int pane, const char* text) const {
  const SearchSettings& s = m_settings;
  if (!s.outputLower || !s.outputUpper || !s.outputPunctuation || !s.outputWhitespace) {
    switch (classifyEntry(text, m_panes[pane].currentLength, m_dictionaries.alphabet(pane))) {
      case EntryClass::Lower:
        if (!s.outputLower) return false;
        break;
      case EntryClass::Upper:
        if (!s.outputUpper) return false;
        break;
      case EntryClass::Punctuation:
        if (!s.outputPunctuation) return false;
        break;
      case EntryClass::Phrase:
        if (!s.outputWhitespace) return false;
        break;
    }
  }
  // The word, which text() spells out first with its terminator.
  if (s.maxRank < CommonnessRanks::kRarest && rankOf(pane, text) > s.maxRank) return false;
  if (s.multiple == MultipleDictionaries::SuppressDuplicates) {
    for (int j = 0; j < pane; ++j) {
      if (m_panes[j].results.contains(text)) return false;
    }
  }
  return true;
}

bool SearchSession::stepWordSearch(Pane& p) {
  // The lengths visited are those the pattern can match, so "*" needs no test of its own.
  EntryFilter* filter = p.engine->matchesEveryEntry() ? nullptr : p.engine.get();
  const bool acceptingAll = acceptsEveryText(m_searchPane);
  // Results written out as found, with every text wanted and no balance to work out for each:
  // the enumerator hands them over many at a time where it can.
  const bool inBulk = m_streaming && acceptingAll && (!filter || filter->acceptsAlike());
  for (int candidate = 0; candidate < kCandidateBudget; ++candidate) {
    if (inBulk && m_enumerator->replaying()) {
      constexpr size_t kCapacity = EntryEnumerator::kAcceptedCapacity;
      EntryEnumerator::AcceptedEntry accepted[kCapacity];
      const size_t count = m_enumerator->nextAccepted(filter, accepted, kCapacity);
      StreamedResult results[kCapacity];
      m_separated.clear();
      m_separated.reserve(kCapacity);  // so that the views of those made stay where they are
      for (size_t i = 0; i < count; ++i) {
        results[i].entry = accepted[i].word;
        if (m_settings.showAnnotations && !accepted[i].annotation.empty()) {
          results[i].annotation = m_separated.emplace_back(separated(accepted[i].annotation));
        }
      }
      if (count > 0) {
        m_sink({results, count});
        candidate += static_cast<int>(count) - 1;
        continue;
      }
    }
    const uint8_t* letters = m_enumerator->nextBatch(filter);
    if (!letters) {
      if (filter && filter->halted()) m_failure = Failure::kTooMuchWork;
      return true;
    }
    if (letters[0] == kEndOfLetters) {
      m_examinedBefore += m_enumerator->entriesScanned();
      if (advanceLength(p)) return true;
      finishPane(p);
      nextDictionary();
      return true;
    }
    if (!acceptingAll && !acceptable(m_searchPane, m_enumerator->text())) continue;
    const char* stored = m_settings.showAnnotations ? m_enumerator->annotation() : nullptr;
    const std::string annotation = stored ? separated(stored) : std::string();
    const std::string balance =
        m_settings.showBalances ? p.engine->balanceText(kBalanceSeparator) : std::string();
    if (m_streaming) {
      // Nothing is stored, so nothing can fail: the step goes on to the next candidates.
      const StreamedResult result{m_enumerator->word(), annotation, balance, 0};
      m_sink({&result, 1});
      continue;
    }
    addResult(p, std::string(m_enumerator->word()), annotation, balance, 0);
    return true;
  }
  return true;
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
