// One kind of search (a word search, a full-text search, phrase anagrams) behind the steps that
// the session runs: it checks its pattern against the open dictionaries, then searches them pane
// by pane in short steps, its results going to the session's output. The session keeps what all
// kinds share: the dictionaries, the panes and their results, the state, the work budget.
#pragma once

#include <climits>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "dictionary/CommonnessRanks.h"
#include "dictionary/QCDictionaryList.h"
#include "pattern/MatchEngineSet.h"
#include "search/ResultList.h"
#include "search/ResultOutput.h"
#include "search/SearchSettings.h"

namespace qel {

// One dictionary's part of a search: its results and what they were found with.
struct SearchPane {
  SearchPane();
  ~SearchPane();
  SearchPane(SearchPane&&) noexcept;
  SearchPane& operator=(SearchPane&&) noexcept;

  static constexpr int kIdle = 0x7FFFFFFF;

  ResultList results;
  std::string searchPattern;
  SearchSettings searchSettings;  // those the pane's results were found with
  // The pattern compiled for the pane's dictionary, by the modes that match one.
  std::unique_ptr<MatchEngineSet> engine;
  // The lengths the results have (a dictionary saved from them takes those).
  int shortest = kIdle;
  int longest = kIdle;
  int direction =
      kIdle;  // the order its lengths are visited in: 1 shortest first, -1 longest first
  int64_t dictionaryStamp = 0;  // file time when a full-text search of this pane began
};

// How a pattern was found: the state it leaves the search in, and what the user is told.
struct SearchValidation {
  // What kept the pattern from being searched for, for a program to act on.
  enum class Problem {
    kNone,
    kNoDictionary,       // none is open
    kInvalidDictionary,  // invalidDictionary names it
    kPattern,            // the pattern (or its letters) cannot be searched for: statusText says why
    kNoWordsOfLength,    // a valid pattern whose lengths no dictionary holds: it finds nothing
  };
  SearchState state = SearchState::NoPattern;
  Problem problem = Problem::kPattern;
  int messageNumber = 0;  // status text from the message table
  std::string statusText;
  // A dictionary found no longer valid (removed, replaced by no dictionary, or damaged): the
  // window says so in a box of its own, so there is no status text then.
  int invalidDictionary = -1;
};

// A pattern refused with message `number` of the message table, `prefix` before its text.
SearchValidation refusedPattern(int number, const std::string& prefix = "");
// A pattern that can be searched for.
SearchValidation acceptedPattern();

struct SearchProgress {
  int pane = -1;
  int currentLength = 0;
  long examined = 0;  // entries examined in this pane
  long total = 0;     // entries to examine in this pane
};

// Why a search stopped before its end. Out of memory and too much work pause it; a dictionary
// that changed under it ends it; kResultLimit: it listed as many results as it may; kStopped: the
// result sink asked it to stop.
enum class SearchFailure {
  kNone,
  kOutOfMemory,
  kTooMuchWork,
  kDictionaryInvalidated,
  kResultLimit,
  kStopped,
};

// What a search mode shares with the session that runs it.
struct SearchContext {
  QCDictionaryList& dictionaries;
  std::vector<SearchPane>& panes;
  const SearchSettings& settings;
  const std::string& pattern;
  ResultOutput& output;
  const std::vector<CommonnessRanks>& ranks;  // each pane's, when the search started
};

class SearchMode {
 public:
  // How a step ended.
  enum class Step {
    kMore,         // the pane has more to search
    kPaneDone,     // the pane was searched to its end (ending() may say it ended early)
    kTooMuchWork,  // the pane's matcher used up its work budget: the search pauses
    kInvalidated,  // a dictionary changed under the search (ending() says which)
  };
  struct Ending {
    SearchFailure failure = SearchFailure::kNone;
    std::string text;  // what the user is told of it (code page 1252)
    std::optional<std::string> changedPath;
  };

  explicit SearchMode(SearchContext& context) : m_context(context) {}
  virtual ~SearchMode() = default;
  SearchMode(const SearchMode&) = delete;
  SearchMode& operator=(const SearchMode&) = delete;

  // Checks the pattern against the dictionaries, each of them valid and read again just before.
  virtual SearchValidation validate() = 0;
  // Whether the search visits pane i.
  virtual bool searchesPane(int pane) const;
  // A new search: the panes it visits are emptied and take its pattern; the mode sets how they
  // list their results.
  virtual void begin() = 0;
  // Whether results may be handed over in the order found, one dictionary without sorting.
  virtual bool streams() const { return true; }
  // Prepares pane i; false when there is nothing in it to search.
  virtual bool startPane(int pane) = 0;
  // One step of the pane being searched, short enough for a window to stay responsive.
  virtual Step step() = 0;
  // How far the pane being searched is.
  virtual void progress(SearchProgress& progress) const = 0;
  // After pane i was searched (or found to have nothing to search).
  virtual void finishPane(int pane) = 0;
  const Ending& ending() const { return m_ending; }

 protected:
  // The active dictionary's pane, which some searches search alone.
  int activePane() const;
  SearchContext& m_context;
  Ending m_ending;
};

// The mode that `settings` ask for: the one place that lists them.
std::unique_ptr<SearchMode> makeSearchMode(SearchContext& context);

}  // namespace qel
