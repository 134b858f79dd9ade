// Saving results as a dictionary through the builder.
#include "maintenance/DictionaryMaintainer.h"

#include "dictionary/CommonnessRanks.h"
#include "dictionary/QCDictionaryList.h"
#include "maintenance/SourceLine.h"
#include "pattern/PatternLimits.h"
#include "platform/FileAccess.h"
#include "platform/FileReplacement.h"
#include "search/ResultList.h"

namespace qel {
namespace {

// The window gets a turn this often: every 4096 lines or entries.
constexpr long kYieldMask = 0xFFF;

}  // namespace

std::string resultSourceLine(const ResultRecord& record) {
  std::string_view annotation = record.annotation();
  // The search puts a blank between the entry and its annotation; the dictionary stores the
  // annotation without it.
  if (!annotation.empty() && annotation.front() == ' ') annotation.remove_prefix(1);
  return build::entryField(record.entry(), annotation) + "\n";
}

DictionaryMaintainer::DictionaryMaintainer(const ResultList& results,
                                           QCDictionaryList& dictionaries, int shortest,
                                           int longest)
    : m_results(results), m_dictionaries(dictionaries), m_shortest(shortest), m_longest(longest) {
  if (m_shortest < 1 || m_shortest > pattern::kLongestWord) m_shortest = 1;
  if (m_longest < m_shortest || m_longest > pattern::kLongestWord)
    m_longest = pattern::kLongestWord;
}

bool DictionaryMaintainer::save(const std::string& path, const std::string& description,
                                int dictionary) {
  const bool listed = dictionary >= 0 && dictionary < m_dictionaries.count();
  if (!listed || !m_dictionaries.recheck(dictionary)) {
    const std::string shown = listed ? m_dictionaries.path(dictionary) : std::string();
    const std::string reason =
        listed ? " - " + m_dictionaries.dictionary(dictionary).status().reason() : std::string();
    error("\"" + shown + "\" is not a valid dictionary" + reason + "\n");
    return false;
  }
  BuildParameters p;
  p.fold = m_dictionaries.canonicalLetters(dictionary);
  p.outputPath = path;
  p.backupPath = backupPathFor(path);
  // The target's old contents go to its backup: a dictionary read for this save must not be that
  // file, or what the results came from would be lost.
  for (int i = 0; i < m_dictionaries.count(); ++i) {
    if (sameFile(m_dictionaries.path(i), p.backupPath)) {
      error("\"" + m_dictionaries.path(i) + "\" would be replaced by the old contents of \"" +
            path + "\"; choose another file\n");
      return false;
    }
  }
  p.description = description;
  p.shortest = m_shortest;
  p.longest = m_longest;
  p.commonWordPercentage = 100;
  m_entriesAsked = 0;
  // The saved entries keep the ranks they had in their dictionary.
  CommonnessRanks source, kept;
  (void)source.loadFor(m_dictionaries.path(dictionary));  // unreadable: none kept
  for (long i = 0; !source.empty() && i < m_results.count(); ++i) {
    const ResultRecord* record = m_results.record(i);
    if (const uint8_t rank = source.rankOf(record->entry()); rank < CommonnessRanks::kRarest)
      kept.set(record->entry(), rank);
  }
  p.ranks = &kept;
  return buildDictionary(*this, p);
}

BuildSource::Line DictionaryMaintainer::nextLine(std::string& line, long count) {
  if ((count & kYieldMask) == 0 && m_yield) m_yield();
  if (m_state != State::kSaving) return Line::Abandoned;
  if (m_line >= m_results.count()) return Line::End;
  const ResultRecord* record = m_results.record(m_line++);
  line = record ? resultSourceLine(*record) : std::string();
  return Line::Text;
}

bool DictionaryMaintainer::keepGoing() {
  if ((++m_entriesAsked & kYieldMask) == 0 && m_yield) m_yield();
  return m_state == State::kSaving;
}

void DictionaryMaintainer::addToLog(const std::string& text) {
  m_log += text;
  if (m_logListener) m_logListener(text);
}

}  // namespace qel
