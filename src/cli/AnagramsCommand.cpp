// qel-cli anagrams: phrase anagrams of some letters from one dictionary, one combination a line.
#include <ostream>
#include <set>
#include <span>
#include <vector>

#include "cli/Arguments.h"
#include "cli/Cli.h"
#include "cli/InvalidDictionary.h"
#include "dictionary/CommonnessRanks.h"
#include "dictionary/DecodedSideFile.h"
#include "dictionary/QCDictionaryList.h"
#include "pattern/PatternLimits.h"
#include "platform/Cp1252.h"
#include "search/CommonnessOrder.h"
#include "search/PhraseAnagramSearch.h"
#include "search/SearchSession.h"

namespace qel::cli {
namespace {

constexpr char kCommand[] = "qel-cli anagrams: ";
// Combinations held to be written in order of commonness (some 100 MB at most); those found after
// are written as found.
constexpr size_t kMaxOrdered = 4'000'000;

// Reads the options into `s`; false, with the reason on `err`, for one that is wrong.
bool readSettings(Arguments& a, PhraseAnagramSettings& s, std::ostream& err) {
  int limit = static_cast<int>(s.limit);
  if (!a.number("words", s.words) || !a.number("shortest", s.shortest) ||
      !a.number("limit", limit)) {
    err << kCommand << a.error() << "\n";
    return false;
  }
  s.limit = limit;
  if (s.words < 1 || s.words > PhraseAnagramSettings::kMaxWords) {
    err << kCommand << "--words is a number from 1 to " << PhraseAnagramSettings::kMaxWords << "\n";
    return false;
  }
  if (s.shortest < 1 || s.shortest > pattern::kLongestWord) {
    err << kCommand << "--shortest is a number from 1 to " << pattern::kLongestWord << "\n";
    return false;
  }
  if (s.limit < 1) {
    err << kCommand << "--limit is a number from 1 up\n";
    return false;
  }
  s.phrases = a.has("phrases");
  for (const std::string& word : a.values("contains")) {
    if (!cp1252::fromUtf8(word, s.contains.emplace_back())) {
      err << kCommand << "--contains has a character that code page 1252 cannot hold\n";
      return false;
    }
  }
  if (!cp1252::fromUtf8(a.value("pattern").value_or(""), s.pattern)) {
    err << kCommand << "the pattern has a character that code page 1252 cannot hold\n";
    return false;
  }
  return true;
}

}  // namespace

int anagramsCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  Arguments a;
  PhraseAnagramSettings s;
  if (!a.parse(args, {"words", "shortest", "contains", "pattern", "limit"},
               {"phrases", "no-cache"})) {
    err << kCommand << a.error() << "\n";
    return kError;
  }
  if (!readSettings(a, s, err)) return kError;
  if (a.positional().size() != 2) {
    err << kCommand << "give LETTERS and one DICT\n";
    return kError;
  }
  std::string letters;
  if (!cp1252::fromUtf8(a.positional()[0], letters)) {
    err << kCommand << "the letters have a character that code page 1252 cannot hold\n";
    return kError;
  }
  QCDictionaryList list(std::vector<std::string>{a.positional()[1]});
  if (reportFirstInvalidDictionary(list, err)) return kError;
  if (!a.has("no-cache") && sideFilesWanted() &&
      useDecodedSideFile(list.dictionary(0), sideFileFolder()) == SideFileUse::kNone &&
      !list.dictionary(0).valid()) {
    reportChanged(list.path(0), "anagrams", err, &list);
    return kError;
  }

  PhraseAnagramSearch search(list, 0);
  // With ranks beside the dictionary the combinations of common words come first: they are kept
  // (code page 1252, one after another) and written in that order at the end. Ranks that cannot
  // be read leave the order as found, as a search without rank options goes on without them.
  CommonnessRanks ranks;
  if (const Status read = ranks.loadFor(list.path(0)); !read.ok()) {
    err << kCommand << "warning: cannot read the ranks " << cp1252::toUtf8(read.reason())
        << "; the combinations are listed as found\n";
  }
  std::string kept;
  std::vector<size_t> keptEnds;
  // Combinations gather in one buffer, written when full: no stream call per combination.
  std::string pending;
  // Those kept for ordering are bounded: the ones found after are written as found.
  bool ordering = !ranks.empty();
  const auto writeKept = [&] {
    std::vector<std::string_view> rows;
    for (size_t i = 0, start = 0; i < keptEnds.size(); start = keptEnds[i++])
      rows.emplace_back(kept.data() + start, keptEnds[i] - start);
    for (const long row : commonPhrasesFirstOrder(rows, ranks)) {
      pending.append(cp1252::toUtf8(rows[static_cast<size_t>(row)])) += '\n';
      if (pending.size() >= (1 << 16) && out) {
        out << pending;
        pending.clear();
      }
    }
    std::string().swap(kept);
    std::vector<size_t>().swap(keptEnds);
  };
  search.setSink([&](std::span<const std::string_view> words) {
    if (!out) return;  // once a write failed nothing more can reach the output
    if (ordering) {
      for (size_t i = 0; i < words.size(); ++i) kept.append(i > 0 ? " " : "").append(words[i]);
      keptEnds.push_back(kept.size());
      if (keptEnds.size() < kMaxOrdered) return;
      writeKept();
      ordering = false;
      return;
    }
    for (size_t i = 0; i < words.size(); ++i) {
      if (i > 0) pending += ' ';
      pending += cp1252::toUtf8(words[i]);
    }
    pending += '\n';
    if (pending.size() >= (1 << 16)) {
      out << pending;
      pending.clear();
    }
  });
  const PhraseAnagramSearch::Validation v = search.start(letters, s);
  switch (v.problem) {
    case PhraseAnagramSearch::Problem::kNone:
      break;
    case PhraseAnagramSearch::Problem::kInvalidDictionary:
      reportChanged(list.path(0), "anagrams", err, &list);
      return kError;
    case PhraseAnagramSearch::Problem::kPattern:
      err << cp1252::toUtf8(v.text) << "\n";  // in the words of the search command
      return kError;
    case PhraseAnagramSearch::Problem::kNotInLetters:
      err << kCommand << cp1252::toUtf8(v.text) << "\n";
      return kNothingFound;
    default:
      err << kCommand << cp1252::toUtf8(v.text) << "\n";
      return kError;
  }
  while (search.step()) {
  }
  if (ordering) writeKept();
  if (out) out << pending;
  if (!ranks.empty() && !ordering) {
    err << kCommand << "warning: more than " << kMaxOrdered
        << " combinations: only the first ones found are listed in order of commonness\n";
  }
  if (const long undecided = search.undecidedEntries(); undecided > 0) {
    err << kCommand << "warning: " << SearchSession::undecidedText(undecided) << "\n";
  }
  switch (search.ending()) {
    case PhraseAnagramSearch::Ending::kComplete:
      break;
    case PhraseAnagramSearch::Ending::kLimitReached:
      // What was found is written first; the limit is no error, but the list is not whole.
      err << kCommand << search.endingText() << "\n";
      break;
    case PhraseAnagramSearch::Ending::kDictionaryInvalidated:
      reportChanged(search.changedPath(), "anagrams", err, &list);
      return kError;
    case PhraseAnagramSearch::Ending::kOutOfMemory:
      err << kCommand << search.endingText() << "\n";
      return kError;
  }
  if (search.found() == 0) {
    // Unlike a pattern that matches nothing, letters that no words make up are worth a word: a
    // letter that no entry holds is the usual reason.
    err << kCommand << "no words of " << cp1252::toUtf8(list.path(0))
        << " make up exactly these letters\n";
    return kNothingFound;
  }
  return kFound;
}

}  // namespace qel::cli
