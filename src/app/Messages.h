// The numbered message table: user-visible texts by number (a status-bar text, a message box
// text, a command's hint).
#pragma once

#include <string_view>

#include "pattern/MatchEngineSet.h"
#include "pattern/PatternErrors.h"

namespace qel {

// Messages the core reports by name; the numbers live in Messages.cpp only.
enum class Message {
  kNoDictionary,       // no dictionary is open
  kNoWordsOfLength,    // the dictionaries hold no entry of the lengths to search
  kSearching,          // status while a search runs
  kSearchPaused,       // status while a search is paused
  kSearchTooMuchWork,  // status while a search is paused for too much work
  // Tooltips of the main view's controls.
  kPatternBoxTip,
  kSearchButtonTip,
  kSearchModeTip,
  kShortestTip,
  kLongestTip,
  kProgressBarTip,
  // Hints of the search-mode commands.
  kWordSearchHint,
  kFullTextSearchHint,
  // External lookup.
  kLookupFailed,  // a lookup method did not run
  kExternalLookupQuestion,
  kExternalLookupNoneEnabled,
  kExternalLookupNoDefinitionsQuestion,
  kExternalLookupNoDefinitionsNoneEnabled,
  kNoEncoding,   // an execute method hands the word over as it is
  kHexEncoding,  // ... or in hexadecimal
};

// The number of a message in the table (a status text, a box text, a command's hint).
int messageNumber(Message message);
int messageNumber(pattern::PatternError error);  // kValid: the "pattern is valid" text
int messageNumber(LengthProblem problem);        // not kNone

// The exact text of a message, or an empty text for a number not in the table.
std::string_view messageText(int number);

}  // namespace qel
