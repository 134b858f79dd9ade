#include "search/WordSearchMode.h"

#include "dictionary/EntryEnumerator.h"
#include "search/EntryClass.h"

namespace qel {

namespace {

// Goes between an entry and its anagram balance in a result.
constexpr char kBalanceSeparator[] = " ";
// The most handed over as lines at once.
constexpr size_t kLinesBytes = size_t{1} << 17;

}  // namespace

WordSearchMode::WordSearchMode(SearchContext& context) : PatternSearchMode(context) {}
WordSearchMode::~WordSearchMode() = default;

bool WordSearchMode::startPane(int pane) {
  m_pane = pane;
  m_examinedBefore = 0;
  m_enumerator = std::make_unique<EntryEnumerator>(m_context.dictionaries, pane);
  SearchPane& p = m_context.panes[pane];
  if (selectLengths(p) != LengthProblem::kNone) return false;
  m_currentLength = (p.direction < 0 ? p.longest : p.shortest) - p.direction;
  return advanceLength();
}

void WordSearchMode::finishPane(int pane) {
  PatternSearchMode::finishPane(pane);
  m_currentLength = SearchPane::kIdle;
  m_enumerator.reset();
}

bool WordSearchMode::advanceLength() {
  const SearchPane& p = m_context.panes[m_pane];
  for (;;) {
    m_currentLength += p.direction;
    if (m_currentLength < p.shortest || m_currentLength > p.longest) {
      m_currentLength = SearchPane::kIdle;
      return false;
    }
    if (p.engine->setCurrentLength(m_currentLength) &&
        m_enumerator->selectLength(m_currentLength)) {
      return true;
    }
    m_examinedBefore += m_context.dictionaries.entryCount(m_pane, m_currentLength);
  }
}

bool WordSearchMode::acceptsEveryText() const {
  const SearchSettings& s = m_context.settings;
  return s.outputLower && s.outputUpper && s.outputPunctuation && s.outputWhitespace &&
         s.maxRank >= CommonnessRanks::kRarest &&
         (s.multiple != MultipleDictionaries::SuppressDuplicates || m_pane == 0);
}

uint8_t WordSearchMode::rankOf(std::string_view entry) const {
  const auto pane = static_cast<size_t>(m_pane);
  return pane < m_context.ranks.size() ? m_context.ranks[pane].rankOf(entry)
                                       : CommonnessRanks::kRarest;
}

bool WordSearchMode::acceptable(const char* text) const {
  const SearchSettings& s = m_context.settings;
  if (!s.outputLower || !s.outputUpper || !s.outputPunctuation || !s.outputWhitespace) {
    switch (classifyEntry(text, m_currentLength, m_context.dictionaries.alphabet(m_pane))) {
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
  if (s.maxRank < CommonnessRanks::kRarest && rankOf(text) > s.maxRank) return false;
  if (s.multiple == MultipleDictionaries::SuppressDuplicates) {
    for (int j = 0; j < m_pane; ++j) {
      if (m_context.panes[j].results.contains(text)) return false;
    }
  }
  return true;
}

bool WordSearchMode::handLines() {
  m_lines.resize(kLinesBytes);
  char* end = m_lines.data();
  const size_t count =
      m_enumerator->nextWordLines(end, m_lines.size(), !m_context.settings.showAnnotations);
  if (count == 0) return false;
  m_context.output.handLines({m_lines.data(), static_cast<size_t>(end - m_lines.data())}, count);
  return true;
}

SearchMode::Step WordSearchMode::step() {
  SearchPane& p = m_context.panes[m_pane];
  ResultOutput& output = m_context.output;
  // The lengths visited are those the pattern can match, so "*" needs no test of its own.
  EntryFilter* filter = p.engine->matchesEveryEntry() ? nullptr : p.engine.get();
  const bool acceptingAll = acceptsEveryText();
  // Results written out as found, with every text wanted and no balance to work out for each:
  // the enumerator hands them over many at a time where it can.
  const bool inBulk = output.streaming() && acceptingAll && (!filter || filter->acceptsAlike());
  if (inBulk && !filter && output.takesLines() && m_enumerator->replaying() && handLines()) {
    return Step::kMore;
  }
  for (int candidate = 0; candidate < kCandidateBudget && !output.stopped(); ++candidate) {
    if (inBulk && m_enumerator->replaying()) {
      constexpr size_t kCapacity = EntryEnumerator::kAcceptedCapacity;
      EntryEnumerator::AcceptedEntry accepted[kCapacity];
      const size_t count = m_enumerator->nextAccepted(filter, accepted, kCapacity);
      StreamedResult results[kCapacity];
      m_separated.clear();
      m_separated.reserve(kCapacity);  // so that the views of those made stay where they are
      for (size_t i = 0; i < count; ++i) {
        results[i].entry = accepted[i].word;
        if (m_context.settings.showAnnotations && !accepted[i].annotation.empty()) {
          results[i].annotation = m_separated.emplace_back(separated(accepted[i].annotation));
        }
      }
      if (count > 0) {
        output.hand({results, count});
        candidate += static_cast<int>(count) - 1;
        continue;
      }
    }
    const uint8_t* letters = m_enumerator->nextBatch(filter);
    if (!letters) return filter && filter->halted() ? Step::kTooMuchWork : Step::kMore;
    if (letters[0] == kEndOfLetters) {
      m_examinedBefore += m_enumerator->entriesScanned();
      return advanceLength() ? Step::kMore : Step::kPaneDone;
    }
    if (!acceptingAll && !acceptable(m_enumerator->text())) continue;
    const char* stored = m_context.settings.showAnnotations ? m_enumerator->annotation() : nullptr;
    const std::string annotation = stored ? separated(stored) : std::string();
    const std::string balance =
        m_context.settings.showBalances ? p.engine->balanceText(kBalanceSeparator) : std::string();
    if (output.streaming()) {
      // Nothing is stored, so nothing can fail: the step goes on to the next candidates.
      const StreamedResult result{m_enumerator->word(), annotation, balance, 0};
      output.hand({&result, 1});
      continue;
    }
    output.add(p.results, std::string(m_enumerator->word()), annotation, balance, 0);
    return Step::kMore;
  }
  return Step::kMore;
}

void WordSearchMode::progress(SearchProgress& progress) const {
  const SearchPane& p = m_context.panes[m_pane];
  progress.currentLength = m_currentLength;
  progress.examined = m_examinedBefore + (m_enumerator ? m_enumerator->entriesScanned() : 0);
  for (int length = p.shortest; length <= p.longest; ++length) {
    progress.total += m_context.dictionaries.entryCount(m_pane, length);
  }
}

}  // namespace qel
