// The steps of a word search: the lengths visited in turn, the entries the enumerator gives, and
// which of them become results, stored or handed to the sink as they are found.
#include "dictionary/EntryEnumerator.h"
#include "search/EntryClass.h"
#include "search/SearchSession.h"

namespace qel {

namespace {

// Goes between an entry and its anagram balance in a result.
constexpr char kBalanceSeparator[] = " ";
// The most handed to a lines sink at once.
constexpr size_t kLinesBytes = size_t{1} << 17;

}  // namespace

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
  // Every entry wanted as its word alone: written as lines straight from where they lie.
  if (inBulk && !filter && m_linesSink && m_enumerator->replaying()) {
    m_lines.resize(kLinesBytes);
    char* end = m_lines.data();
    const size_t count =
        m_enumerator->nextWordLines(end, m_lines.size(), !m_settings.showAnnotations);
    if (count > 0) {
      m_linesSink({m_lines.data(), static_cast<size_t>(end - m_lines.data())}, count);
      return true;
    }
  }
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

}  // namespace qel
