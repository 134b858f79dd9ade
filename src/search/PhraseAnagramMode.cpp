#include "search/PhraseAnagramMode.h"

#include <algorithm>

#include "search/CommonnessOrder.h"

namespace qel {

PhraseAnagramMode::PhraseAnagramMode(SearchContext& context) : SearchMode(context) {}
PhraseAnagramMode::~PhraseAnagramMode() = default;

PhraseAnagramSettings PhraseAnagramMode::anagramSettings() const {
  PhraseAnagramSettings a;
  a.words = std::clamp(m_context.settings.anagramWords, 1, PhraseAnagramSettings::kMaxWords);
  a.shortest = m_context.settings.shortest;
  return a;
}

SearchValidation PhraseAnagramMode::validate() {
  const int pane = activePane();
  QCDictionaryList& dictionaries = m_context.dictionaries;
  SearchValidation v;
  if (!dictionaries.dictionary(pane).valid()) return v;
  PhraseAnagramSearch check(dictionaries, pane);
  const PhraseAnagramSearch::Validation problem = check.start(m_context.pattern, anagramSettings());
  if (problem.problem == PhraseAnagramSearch::Problem::kNone) return acceptedPattern();
  v.statusText = dictionaries.name(pane) + ": " + problem.text;
  return v;
}

void PhraseAnagramMode::begin() {
  const int active = activePane();
  SearchPane& p = m_context.panes[active];
  p.results.setOrder(ResultOrder::Discovery, false);
  // Every combination holds the letters given, no more: the length its results have, as a word
  // search's pane keeps the lengths it searched (a dictionary saved from it takes those).
  int letters = 0;
  for (const char c : m_context.pattern) {
    letters +=
        m_context.dictionaries.alphabet(active).letterIndex[static_cast<uint8_t>(c)] != kNotALetter;
  }
  p.shortest = p.longest = letters;
}

bool PhraseAnagramMode::startPane(int pane) {
  m_search = std::make_unique<PhraseAnagramSearch>(m_context.dictionaries, pane);
  // Each combination is one result, its words apart by blanks as a phrase is.
  m_search->setSink([this, pane](std::span<const std::string_view> words) {
    std::string line;
    for (const std::string_view word : words) {
      if (!line.empty()) line += ' ';
      line += word;
    }
    m_context.output.add(m_context.panes[pane].results, std::move(line), std::string(),
                         std::string(), 0);
  });
  m_search->start(m_context.pattern, anagramSettings());
  return true;
}

SearchMode::Step PhraseAnagramMode::step() {
  if (m_search->step()) return Step::kMore;
  switch (m_search->ending()) {
    case PhraseAnagramSearch::Ending::kComplete:
      break;
    case PhraseAnagramSearch::Ending::kLimitReached:
      m_ending.failure = SearchFailure::kResultLimit;
      // A status bar's text: short enough for the window's default width.
      m_ending.text =
          "Stopped at " + std::to_string(anagramSettings().limit) + " combinations: there are more";
      break;
    case PhraseAnagramSearch::Ending::kDictionaryInvalidated:
      m_ending.failure = SearchFailure::kDictionaryInvalidated;
      m_ending.changedPath = m_search->changedPath();
      return Step::kInvalidated;
    case PhraseAnagramSearch::Ending::kOutOfMemory:
      m_ending.failure = SearchFailure::kOutOfMemory;
      break;
  }
  return Step::kPaneDone;
}

void PhraseAnagramMode::finishPane(int pane) {
  m_search.reset();
  // With ranks, the combinations of common words come first, fewer words before more.
  if (static_cast<size_t>(pane) >= m_context.ranks.size()) return;
  const CommonnessRanks& ranks = m_context.ranks[static_cast<size_t>(pane)];
  if (ranks.empty()) return;
  ResultList& results = m_context.panes[pane].results;
  std::vector<std::string_view> rows(static_cast<size_t>(results.count()));
  for (long i = 0; i < results.count(); ++i) {
    rows[static_cast<size_t>(i)] = results.record(i)->entry();
  }
  // Out of memory, the order found stays.
  results.arrange(commonPhrasesFirstOrder(rows, ranks));
}

void PhraseAnagramMode::progress(SearchProgress& progress) const {
  progress.currentLength = SearchPane::kIdle;
  if (!m_search) return;
  const PhraseAnagramSearch::Progress a = m_search->progress();
  // Reading the dictionary is the first half of the bar, combining its words the second.
  const long half = 1'000'000;
  const double share = a.total > 0 ? static_cast<double>(a.done) / a.total : 0;
  progress.examined = static_cast<long>(share * half) +
                      (a.phase == PhraseAnagramSearch::Phase::kCombining ? half : 0);
  progress.total = 2 * half;
}

}  // namespace qel
