// A search over the open dictionaries, one pane per dictionary, run in short steps so that a window
// can stay responsive between them, pause and resume from the same place. What is searched for,
// and how, is the search mode's (SearchMode); the session keeps what every mode shares: the
// dictionaries, the panes and their results, the state, the work budget and where results go.
// The main window adds only its yield check and its widgets; qel-cli runs the steps back to back.
#pragma once

#include <climits>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dictionary/CommonnessRanks.h"
#include "dictionary/DictionaryWatch.h"
#include "dictionary/QCDictionaryList.h"
#include "search/ResultOutput.h"
#include "search/SearchMode.h"
#include "search/SearchSettings.h"

namespace qel {

class SearchSession {
 public:
  static constexpr int kIdle = SearchPane::kIdle;
  // The matcher's work a search may do before it pauses, and again after each resume: half a
  // minute or so of matching, a guard for patterns nothing else bounds. Patterns a user types need
  // a small part of it for a whole dictionary, those of letter variables and wildcards included.
  static constexpr long kWorkBudget = 3'000'000'000;
  static constexpr long kNoWorkLimit = LONG_MAX / 2;

  using Pane = SearchPane;
  using Validation = SearchValidation;
  using Progress = SearchProgress;
  using Failure = SearchFailure;
  using StreamedResult = qel::StreamedResult;
  using ResultSink = ResultOutput::ResultSink;
  using LinesSink = ResultOutput::LinesSink;

  explicit SearchSession(QCDictionaryList& dictionaries);
  ~SearchSession();
  SearchSession(const SearchSession&) = delete;
  SearchSession& operator=(const SearchSession&) = delete;

  // A session over a changed list of dictionaries (one opened, closed or moved) takes over the
  // results of the dictionaries that stay open: origin[i] is the pane of `earlier` that pane i
  // continues, or -1 for a new dictionary. What is taken is left empty in `earlier`.
  void takeResults(SearchSession& earlier, const std::vector<int>& origin);

  // Checks the pattern against every dictionary in the mode the settings ask for. Abandons a
  // paused search. Answers the new state and the status text.
  Validation validate(const std::string& pattern, const SearchSettings& settings);
  // Starts a new search from Ready, or resumes a paused one. False when the state allows neither.
  bool start();
  // One step of the mode's. Returns false once the search is complete (the state is then Ready)
  // or stopped (failure() says why).
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
  // found), so that a search of every entry needs no list. The panes then hold no results. The
  // sink's false stops the search (failure() kStopped).
  void setResultSink(ResultSink sink) { m_output.setSink(std::move(sink)); }
  // Where it is set, results that are only their word (no annotation, balance or other text) may
  // come here instead, many thousand at a time, as lines.
  void setLinesSink(LinesSink sink) { m_output.setLinesSink(std::move(sink)); }
  // Whether the search that start() began hands its results to the sink.
  bool streaming() const { return m_output.streaming(); }
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
  Failure failure() const { return m_failure; }
  // The work budget of the searches to come (kWorkBudget unless set).
  void setWorkBudget(long work) { m_workBudget = work; }
  const std::optional<std::string>& failedPath() const { return m_failedPath; }
  // What the user is told of kResultLimit (code page 1252).
  const std::string& failureText() const { return m_failureText; }

 private:
  // Moves to the next pane the search visits, or to none (-1) after the last.
  void nextPane();
  void loadRanks();
  void setState(SearchState state);
  // Ends the search for a dictionary that changed under it (its results, which may be mixed, are
  // cleared first).
  void invalidate(const std::optional<std::string>& path);
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
  ResultOutput m_output;
  std::vector<CommonnessRanks> m_ranks;  // each pane's, mapped at the start of a search
  std::vector<std::string> m_ranksErrors;
  bool m_ranksShown = true;
  SearchContext m_context{m_dictionaries, m_panes, m_settings, m_pattern, m_output, m_ranks};
  std::unique_ptr<SearchMode> m_mode;  // the mode of the pattern last validated
  std::unique_ptr<DictionaryWatch> m_watch;
  Failure m_failure = Failure::kNone;
  std::string m_failureText;
  long m_workBudget = kWorkBudget;
  long m_workLeft = kWorkBudget;
  long m_workMark = 0;  // the searched pane's work when it was last limited
  std::optional<std::string> m_failedPath;
};

}  // namespace qel
