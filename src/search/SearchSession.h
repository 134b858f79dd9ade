// A search over the open dictionaries, one pane per dictionary, run in short steps so that a window
// can stay responsive between them, pause and resume from the same place. The main window adds
// only its yield check and its widgets; qel-cli runs the steps back to back.
#pragma once

#include <climits>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "dictionary/CommonnessRanks.h"
#include "dictionary/DictionaryWatch.h"
#include "dictionary/QCDictionaryList.h"
#include "pattern/MatchEngineSet.h"
#include "search/PhraseAnagramSearch.h"
#include "search/ResultList.h"
#include "search/SearchSettings.h"

namespace qel {

class EntryEnumerator;
class FullTextCursor;

class SearchSession {
 public:
  static constexpr int kCandidateBudget = 401;  // rejected candidates per step
  static constexpr int kIdle = 0x7FFFFFFF;
  // The matcher's work a search may do before it pauses, and again after each resume: half a
  // minute or so of matching, a guard for patterns nothing else bounds. Patterns a user types need
  // a small part of it for a whole dictionary, those of letter variables and wildcards included.
  static constexpr long kWorkBudget = 3'000'000'000;
  static constexpr long kNoWorkLimit = LONG_MAX / 2;

  struct Pane {
    Pane();
    ~Pane();
    Pane(Pane&&) noexcept;
    Pane& operator=(Pane&&) noexcept;

    ResultList results;
    std::string searchPattern;
    SearchSettings searchSettings;  // those the pane's results were found with
    std::unique_ptr<MatchEngineSet> engine;
    int currentLength = kIdle;
    int shortest = kIdle;
    int longest = kIdle;
    int step = kIdle;
    int64_t dictionaryStamp = 0;  // file time when a full-text search of this pane began
  };

  struct Validation {
    SearchState state = SearchState::NoPattern;
    int messageNumber = 0;  // status text from the message table
    std::string statusText;
    // A dictionary found no longer valid (removed, replaced by no dictionary, or damaged): the
    // window says so in a box of its own, so there is no status text then.
    int invalidDictionary = -1;
  };

  struct Progress {
    int pane = -1;
    int currentLength = 0;
    long examined = 0;  // entries examined in this pane
    long total = 0;     // entries to examine in this pane
  };

  explicit SearchSession(QCDictionaryList& dictionaries);
  ~SearchSession();

  // A session over a changed list of dictionaries (one opened, closed or moved) takes over the
  // results of the dictionaries that stay open: origin[i] is the pane of `earlier` that pane i
  // continues, or -1 for a new dictionary. What is taken is left empty in `earlier`.
  void takeResults(SearchSession& earlier, const std::vector<int>& origin);

  // Compiles the pattern for every dictionary and works out the lengths to search. Abandons a
  // paused search. Answers the new state and the status text.
  Validation validate(const std::string& pattern, const SearchSettings& settings);
  // Starts a new search from Ready, or resumes a paused one. False when the state allows neither.
  bool start();
  // One step: ends at the first accepted entry, after kCandidateBudget rejected candidates, when
  // the enumerator's own budget runs out or at a change of length. A streaming search goes on past
  // accepted entries, which count as candidates. Returns false once the search
  // is complete (the state is then Ready).
  bool step();
  void pause();

  SearchState state() const { return m_state; }
  int searchPane() const { return m_searchPane; }
  int paneCount() const { return static_cast<int>(m_panes.size()); }
  Pane& pane(int i) { return m_panes[i]; }
  const Pane& pane(int i) const { return m_panes[i]; }
  Progress progress() const;
  // Whether the last search searched the pane (with ActiveOnly, the other panes keep their
  // results from before).
  bool searchesPane(int i) const;
  // The pane's number (from 1), its dictionary's name and its results count: "2 Devuduvodi (41)".
  std::string paneHeading(int i) const;
  // Results handed over as they are found instead of being stored, for a program that only writes
  // them out: used while one dictionary is searched without sorting (whose order is the order
  // found), so that a search of every entry needs no list. The panes then hold no results.
  // Several at a time where the search finds several together.
  struct StreamedResult {
    std::string_view entry, annotation, extra;
    int32_t definitionNumber = 0;
  };
  using ResultSink = std::function<void(std::span<const StreamedResult> results)>;
  void setResultSink(ResultSink sink) { m_sink = std::move(sink); }
  // Where it is set, results that are only their word (no annotation, balance or other text) may
  // come here instead, many thousand at a time: `count` lines, each a word in ASCII and a
  // newline. For a program that writes them out as they are.
  using LinesSink = std::function<void(std::string_view lines, size_t count)>;
  void setLinesSink(LinesSink sink) { m_linesSink = std::move(sink); }
  // Whether the search that start() began hands its results to the sink.
  bool streaming() const { return m_streaming; }
  // How common an entry of pane i's dictionary is, by the ranks beside it as they were when the
  // search started (CommonnessRanks::kRarest for an unranked entry, or without ranks).
  uint8_t rankOf(int pane, std::string_view entry) const;
  // Whether the results' ranks are shown (as the window does, and so by default): if not, a
  // search that does not order or filter by them does not read them, and rankOf() answers
  // kRarest.
  void setRanksShown(bool shown) { m_ranksShown = shown; }
  // Whether pane i's dictionary has ranks beside it.
  bool hasRanks(int pane) const;
  // Why pane i's ranks could not be read as the search started (they count as none); empty when
  // they were, or there are none.
  const std::string& ranksError(int pane) const;

  // The patterns pane i's results were found with, compiled again for its dictionary (whose
  // alphabet they use while it stays open); null when the pane has no search or cannot compile it.
  // For showing in a definition what a full-text search matched.
  std::unique_ptr<MatchEngineSet> searchPatterns(int i) const;
  // Entries of this search that the matcher gave up on as too much work for one entry (left out
  // of the results): the user must be told.
  long undecidedEntries() const;
  // What the user is told of them: "3 entries were left out: the pattern needs too much work
  // to decide them".
  static std::string undecidedText(long undecided);

  // Why the last search stopped before its end. Out of memory pauses it: the result that could
  // not be stored is stored first when it resumes. Too much work pauses it once the matcher has
  // done kWorkBudget work (MatchEngineSet::work()) since the search started or last resumed: it
  // resumes from the next entry with the budget anew. A dictionary file that changed under it
  // stops it (state NoPattern), and that pane's results, which may be mixed, are cleared.
  // kResultLimit: a Phrase Anagram search listed as many combinations as it may (failureText()
  // says so).
  enum class Failure { kNone, kOutOfMemory, kTooMuchWork, kDictionaryInvalidated, kResultLimit };
  Failure failure() const { return m_failure; }
  // The work budget of the searches to come (kWorkBudget unless set).
  void setWorkBudget(long work) { m_workBudget = work; }
  const std::optional<std::string>& failedPath() const { return m_failedPath; }
  // What the user is told of kResultLimit (code page 1252).
  const std::string& failureText() const { return m_failureText; }

 private:
  LengthProblem selectLengths(Pane& pane) const;
  void nextDictionary();
  bool selectFirstLength(Pane& pane);
  bool advanceLength(Pane& pane);
  bool stepWordSearch(Pane& pane);
  bool stepFullText(Pane& pane);
  bool acceptable(int pane, const char* text) const;
  // Whether acceptable() says yes to every text for `pane`: every kind of entry is wanted, and no
  // earlier pane's results are to be left out. A search then skips the test of each text.
  bool acceptsEveryText(int pane) const;
  // Stores a result; false (the search pauses) when memory ran out.
  bool addResult(Pane& pane, std::string entry, std::string annotation, std::string extra,
                 int32_t definitionNumber);
  void stepPane();
  void finishPane(Pane& pane);
  void loadRanks();
  Validation validateAnagram(const std::string& letters);
  void startAnagram();
  bool stepAnagram();  // from the files beside the dictionaries, as they are now
  void setState(SearchState state);
  // The work budget: what is left of it is given to the pane being searched, and what it used is
  // taken off when the search leaves the pane or pauses.
  void limitWork(Pane& pane);
  void countWork(Pane& pane);

  QCDictionaryList& m_dictionaries;
  std::vector<Pane> m_panes;
  SearchSettings m_settings;
  std::string m_pattern;
  SearchState m_state = SearchState::NoPattern;
  int m_searchPane = -1;
  std::unique_ptr<EntryEnumerator> m_enumerator;
  std::unique_ptr<FullTextCursor> m_fullText;
  long m_examinedBefore = 0;  // entries of the finished lengths of the current pane
  struct PendingResult {
    std::string entry, annotation, extra;
    int32_t definitionNumber = 0;
  };
  std::optional<PendingResult> m_pending;  // could not be stored for want of memory
  std::unique_ptr<DictionaryWatch> m_watch;
  ResultSink m_sink;
  LinesSink m_linesSink;
  std::vector<char> m_lines;  // what was last handed to m_linesSink
  std::vector<std::string> m_separated;  // annotations of results handed over together
  bool m_streaming = false;
  std::vector<CommonnessRanks> m_ranks;  // each pane's, mapped at the start of a search
  std::vector<std::string> m_ranksErrors;
  bool m_ranksShown = true;
  std::unique_ptr<PhraseAnagramSearch> m_anagram;  // a Phrase Anagram search under way
  Failure m_failure = Failure::kNone;
  std::string m_failureText;
  long m_workBudget = kWorkBudget;
  long m_workLeft = kWorkBudget;
  long m_workMark = 0;  // the searched pane's work when it was last limited
  std::optional<std::string> m_failedPath;
};

}  // namespace qel
