// qel-cli search and fulltext: the main view's search, run to its end, results printed per pane.
#include <cstdlib>
#include <ostream>
#include <set>
#include <span>
#include <vector>

#include "cli/Arguments.h"
#include "cli/Cli.h"
#include "cli/InvalidDictionary.h"
#include "definitions/RichTextPlain.h"
#include "dictionary/DecodedSideFile.h"
#include "dictionary/Definition.h"
#include "dictionary/QCDictionaryDefinitionRetriever.h"
#include "platform/Cp1252.h"
#include "search/SearchSession.h"

namespace qel::cli {
namespace {

// The plain text of a record's body, each line indented under its result.
void printBody(const QCDictionaryList& list, int dictionary, int32_t definitionNumber,
               std::ostream& out) {
  QCDictionaryDefinitionRetriever retriever(list, dictionary);
  Definition d;
  if (!retriever.read(static_cast<uint32_t>(definitionNumber), d)) return;
  const std::string body = rtf::plainText(d.body);
  for (size_t start = 0; start < body.size();) {
    size_t end = body.find('\n', start);
    if (end == std::string::npos) end = body.size();
    std::string_view line(body.data() + start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    out << "    " << cp1252::toUtf8(line) << "\n";
    start = end + 1;
  }
}

// "--sort common" (or "--sort=common") asks for the most common words first; a plain "--sort"
// stays the alphabetical sort. "common" after --sort is the word only while a pattern and a
// dictionary still follow it, so that a search for the pattern "common" keeps working.
std::vector<std::string> withCommonSort(const std::vector<std::string>& args, bool& commonFirst) {
  std::vector<std::string> rest;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--sort=common" ||
        (args[i] == "--sort" && i + 3 < args.size() && args[i + 1] == "common")) {
      commonFirst = true;
      if (args[i] == "--sort") ++i;
      continue;
    }
    if (args[i] == "--") {
      rest.insert(rest.end(), args.begin() + static_cast<long>(i), args.end());
      break;
    }
    rest.push_back(args[i]);
  }
  return rest;
}

int runSearch(const std::string& command, const std::vector<std::string>& givenArgs, bool fullText,
              std::ostream& out, std::ostream& err) {
  bool commonFirst = false;
  const std::vector<std::string> args = withCommonSort(givenArgs, commonFirst);
  Arguments a;
  SearchSettings s;
  s.fullText = fullText;
  const std::set<std::string> valued = {"shortest", "longest", "at",      "hash",
                                        "mode",     "active",  "max-rank"};
  std::set<std::string> switches = {
      "no-exclusive",     "no-annotations", "no-balances", "no-lower",   "no-upper",
      "no-punctuation",   "no-phrases",     "sort",        "descending", "no-group",
      "group-descending", "entries-only",   "no-cache",    "ranks",      "no-work-limit"};
  if (fullText) switches.insert({"sequential", "bodies"});
  int maxRank = CommonnessRanks::kRarest;
  if (!a.parse(args, valued, switches) || !a.number("shortest", s.shortest) ||
      !a.number("longest", s.longest) || !a.number("active", s.activePane) ||
      !a.number("max-rank", maxRank)) {
    err << "qel-cli " << command << ": " << a.error() << "\n";
    return kError;
  }
  if (a.positional().size() < 2) {
    err << "qel-cli " << command << ": give a PATTERN and at least one DICT\n";
    return kError;
  }
  std::string pattern;
  if (!cp1252::fromUtf8(a.positional()[0], pattern) ||
      !cp1252::fromUtf8(a.value("at").value_or(s.expansionAt), s.expansionAt) ||
      !cp1252::fromUtf8(a.value("hash").value_or(s.expansionHash), s.expansionHash)) {
    err << "qel-cli " << command
        << ": the pattern has a character that code page 1252 cannot hold\n";
    return kError;
  }
  keepShortestLongestOrdered(s, a.has("longest"));
  s.variablesExclusive = !a.has("no-exclusive");
  s.showAnnotations = !a.has("no-annotations");
  s.showBalances = !a.has("no-balances");
  s.outputLower = !a.has("no-lower");
  s.outputUpper = !a.has("no-upper");
  s.outputPunctuation = !a.has("no-punctuation");
  s.outputWhitespace = !a.has("no-phrases");
  s.sorting = a.has("sort") || a.has("no-group");
  s.sortingAscending = !a.has("descending");
  s.lengthGrouping = !a.has("no-group");
  s.lengthGroupingAscending = !a.has("group-descending");
  s.fullTextWithoutIndex = a.has("sequential");
  s.commonFirst = commonFirst;
  s.maxRank = maxRank;
  const std::string mode = a.value("mode").value_or("suppress");
  if (mode == "suppress") {
    s.multiple = MultipleDictionaries::SuppressDuplicates;
  } else if (mode == "independent") {
    s.multiple = MultipleDictionaries::Independent;
  } else if (mode == "active") {
    s.multiple = MultipleDictionaries::ActiveOnly;
  } else {
    err << "qel-cli " << command << ": --mode is suppress, independent or active\n";
    return kError;
  }

  // The paths as given, one by one: a path may hold the ";" of a list text.
  QCDictionaryList list(std::vector<std::string>(a.positional().begin() + 1, a.positional().end()));
  // --active counts from 1, as the pane headings do.
  if (a.has("active") && (s.activePane < 1 || s.activePane > list.count())) {
    err << "qel-cli " << command << ": --active is a dictionary number from 1 to " << list.count()
        << "\n";
    return kError;
  }
  s.activePane = a.has("active") ? s.activePane - 1 : 0;
  if (reportFirstInvalidDictionary(list, err)) return kError;
  if (!fullText && !a.has("no-cache") && sideFilesWanted()) {
    const std::string folder = sideFileFolder();
    for (int i = 0; i < list.count(); ++i) {
      // A dictionary removed or rewritten while its side file was made is said so here, not
      // left to fail the pattern's check without a word.
      if (useDecodedSideFile(list.dictionary(i), folder) == SideFileUse::kNone &&
          !list.dictionary(i).valid()) {
        reportChanged(list.path(i), command, err, &list);
        return kError;
      }
    }
  }
  // The rank column after each result.
  const bool showRanks = a.has("ranks");
  std::string rankColumn;
  const auto rankText = [&](const SearchSession& session, int pane, std::string_view entry) {
    if (showRanks) rankColumn = "\t" + std::to_string(session.rankOf(pane, entry));
    return std::string_view(rankColumn);
  };

  SearchSession session(list);
  session.setRanksShown(showRanks);
  if (a.has("no-work-limit")) session.setWorkBudget(SearchSession::kNoWorkLimit);
  const bool entriesOnly = a.has("entries-only");
  // Results written as found, entries only: annotations and balances would be made for nothing.
  if (entriesOnly && !s.sorting && list.count() == 1) s.showAnnotations = s.showBalances = false;
  const bool bodies = a.has("bodies");
  // One dictionary without sorting: each result is written as it is found, none is kept.
  long streamed = 0;
  // Results gather in one large buffer, written when full: no allocation or stream call per result.
  constexpr size_t kPendingSize = 1 << 16;
  constexpr size_t kLongestLine = cp1252::kUtf8Growth * ResultRecord::kMaxText + 1;
  std::vector<char> pending(kPendingSize + kLongestLine);
  size_t used = 0;
  std::string text;
  auto flush = [&] {
    if (out) out.write(pending.data(), static_cast<std::streamsize>(used));
    used = 0;
  };
  auto write = [&](const SearchSession::StreamedResult& result) {
    ++streamed;
    const std::string_view column = rankText(session, 0, result.entry);
    std::string_view line = result.entry;
    if (!entriesOnly && !(result.annotation.empty() && result.extra.empty())) {
      line = text.assign(result.entry).append(result.annotation).append(result.extra);
    }
    if (line.size() > ResultRecord::kMaxText) line = line.substr(0, ResultRecord::kMaxText);
    char* end = cp1252::writeUtf8(line, pending.data() + used);
    end = std::copy(column.begin(), column.end(), end);
    *end++ = '\n';
    used = static_cast<size_t>(end - pending.data());
    if (bodies) {
      flush();
      printBody(list, 0, result.definitionNumber, out);
    } else if (used >= kPendingSize) {
      flush();
    }
  };
  // Once a write failed nothing more can reach the output: the search stops.
  session.setResultSink([&](std::span<const SearchSession::StreamedResult> results) {
    for (const SearchSession::StreamedResult& result : results) write(result);
    return static_cast<bool>(out);
  });
  // Words with nothing after them come as lines, written as they are.
  if (!showRanks && !bodies) {
    session.setLinesSink([&](std::string_view lines, size_t count) {
      streamed += static_cast<long>(count);
      flush();
      out.write(lines.data(), static_cast<std::streamsize>(lines.size()));
      return static_cast<bool>(out);
    });
  }
  const auto validation = session.validate(pattern, s);
  if (validation.invalidDictionary >= 0) {
    reportChanged(list.path(validation.invalidDictionary), command, err, &list);
    return kError;
  }
  if (validation.state != SearchState::Ready) {
    err << cp1252::toUtf8(validation.statusText) << "\n";
    // A valid pattern whose lengths no dictionary holds finds nothing: that is not an error.
    return validation.problem == SearchSession::Validation::Problem::kNoWordsOfLength
               ? kNothingFound
               : kError;
  }
  session.start();
  // Asked for, ranks that cannot be read are an error (the window leaves such words unranked).
  for (int i = 0; (commonFirst || showRanks || a.has("max-rank")) && i < list.count(); ++i) {
    if (session.ranksError(i).empty()) continue;
    err << "qel-cli " << command << ": cannot read the ranks "
        << cp1252::toUtf8(session.ranksError(i)) << "\n";
    return kError;
  }
  while (session.step()) {
  }
  flush();
  // A file that changed under the search makes its results mixed or partial: none are printed
  // (but those of a search that wrote its results as it went are out already).
  switch (session.failure()) {
    case SearchSession::Failure::kNone:
      break;
    case SearchSession::Failure::kDictionaryInvalidated:
      reportChanged(session.failedPath(), command, err, &list);
      return kError;
    case SearchSession::Failure::kOutOfMemory:
      err << "qel-cli " << command << ": out of memory: the search cannot be completed\n";
      return kError;
    case SearchSession::Failure::kStopped:  // the output failed, which the caller reports
    case SearchSession::Failure::kTooMuchWork:
    case SearchSession::Failure::kResultLimit:  // only a Phrase Anagram search, which is not this
      break;                                    // what was found is written first
  }
  if (const long undecided = session.undecidedEntries(); undecided > 0) {
    err << "qel-cli " << command << ": warning: " << SearchSession::undecidedText(undecided)
        << "\n";
  }

  long found = streamed;
  for (int i = 0; i < session.paneCount(); ++i) {
    if (!session.searchesPane(i)) continue;
    const ResultList& results = session.pane(i).results;
    if (list.count() > 1) out << "# " << session.paneHeading(i) << "\n";  // names as on disk
    // Once a write failed nothing more can reach the output: the rest is not formatted.
    for (long r = 0; r < results.count() && out; ++r) {
      const ResultRecord* record = results.record(r);
      ++found;
      out << cp1252::toUtf8(entriesOnly ? record->entry() : record->text())
          << rankText(session, i, record->entry()) << '\n';
      if (bodies) printBody(list, i, record->definitionNumber, out);
    }
  }
  if (session.failure() == SearchSession::Failure::kTooMuchWork) {
    err << "qel-cli " << command
        << ": the pattern needs too much work: the search was stopped (--no-work-limit goes on)\n";
    return kError;
  }
  return found > 0 ? kFound : kNothingFound;
}

}  // namespace

int searchCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  return runSearch("search", args, false, out, err);
}

int fulltextCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  return runSearch("fulltext", args, true, out, err);
}

}  // namespace qel::cli
