// The message table, sorted by number.
#include "app/Messages.h"

#include <algorithm>
#include <iterator>

namespace qel {
namespace {

struct TableEntry {
  int number;
  std::string_view text;
};

constexpr TableEntry kMessages[] = {
    {4270,
     "Enter the word pattern you are searching for here (see the QEL Quick Reference for "
     "examples)"},
    {4280, "Start searching, stop the search or resume it"},
    {4370, "The longest words to show"},
    {4380, "The shortest words to show"},
    {4420, "This progress bar also shows the range of lengths that will be shown"},
    {4960, "Searching - click on Stop to pause"},
    {4970, "Searching paused - click on Continue to resume"},
    {5320, "No Encoding"},
    {5330, "Hex Encoding"},
    {6380,
     "Lookup in the selected external dictionary application failed.\n\nApplications using DDE "
     "and Message interfaces need to be started before lookup is used."},
    {6670, "Use Open... on the File menu to select a dictionary"},
    {12690, "Choose between searching the words and searching the text of their definitions"},
    {12760, "Search the words of the dictionaries"},
    {12770, "Search the text of the definitions in the dictionaries"},
    {12890, "Would you like to try an external search for \"\" now?"},
    {12891,
     "No external lookup methods are enabled.\n\nClick on the Setup... button and ensure one of "
     "the configured methods is checked if you would like to try an external search for \"\"."},
    {12892,
     "No definitions for \"\" could be found in the QEL dictionaries.\n\nWould you like to try an "
     "external search?"},
    {12893,
     "No definitions for \"\" could be found in the QEL dictionaries.\n\nClick on the Setup... "
     "button and ensure one of the configured methods is checked if you would like to try an "
     "external search."},
    {13000, "Shortest/Longest settings stop the pattern being matched"},
    {13010, "Patterns match incompatible lengths"},
    {13080, "Pattern is valid - press the return key to start searching"},
    {13081, "Press F1 for help"},
    {13082, "Choice lists can only include letters, optionally preceded by ^"},
    {13083, "Too many patterns or choice lists"},
    {13084, "Pattern is too long to match anything"},
    {13085, "Choice list started - use ] to complete it"},
    {13086, "Only one ; is allowed in a pattern"},
    {13087, "Subpattern started - use ) to complete it"},
    {13088, "A ) can only appear at the end of a subpattern"},
    {13089, "A ] can only appear at the end of a choice list"},
    {13090, "Too many non-alphabetic characters in templates"},
    {13091, "Only letters and match-alls allowed in anagrams"},
    {13092, "A ^ can only appear within a choice list"},
    {13093, "Follow \\ by the character you want to match exactly"},
    {13094, "Choice lists must contain at least one letter"},
    {14030, "No words of the required length(s) in the dictionaries"},
    {14040, "Paused: a long search - click on Resume to go on"},
};

static_assert(std::is_sorted(std::begin(kMessages), std::end(kMessages),
                             [](const TableEntry& a, const TableEntry& b) {
                               return a.number < b.number;
                             }));

constexpr int kPatternErrorMessages = 13080;

}  // namespace

int messageNumber(Message message) {
  switch (message) {
    case Message::kNoDictionary:
      return 6670;
    case Message::kNoWordsOfLength:
      return 14030;
    case Message::kSearching:
      return 4960;
    case Message::kSearchPaused:
      return 4970;
    case Message::kSearchTooMuchWork:
      return 14040;
    case Message::kPatternBoxTip:
      return 4270;
    case Message::kSearchButtonTip:
      return 4280;
    case Message::kSearchModeTip:
      return 12690;
    case Message::kShortestTip:
      return 4380;
    case Message::kLongestTip:
      return 4370;
    case Message::kProgressBarTip:
      return 4420;
    case Message::kWordSearchHint:
      return 12760;
    case Message::kFullTextSearchHint:
      return 12770;
    case Message::kLookupFailed:
      return 6380;
    case Message::kExternalLookupQuestion:
      return 12890;
    case Message::kExternalLookupNoneEnabled:
      return 12891;
    case Message::kExternalLookupNoDefinitionsQuestion:
      return 12892;
    case Message::kExternalLookupNoDefinitionsNoneEnabled:
      return 12893;
    case Message::kNoEncoding:
      return 5320;
    case Message::kHexEncoding:
      return 5330;
  }
  return 0;
}

int messageNumber(pattern::PatternError error) {
  return kPatternErrorMessages + pattern::errorIndex(error);
}

int messageNumber(LengthProblem problem) {
  switch (problem) {
    case LengthProblem::kShortestLongestStopPattern:
      return 13000;
    case LengthProblem::kIncompatibleLengths:
      return 13010;
    case LengthProblem::kNone:
      break;
  }
  return 0;
}

std::string_view messageText(int number) {
  const auto* it = std::lower_bound(std::begin(kMessages), std::end(kMessages), number,
                                    [](const TableEntry& m, int n) { return m.number < n; });
  if (it == std::end(kMessages) || it->number != number) return {};
  return it->text;
}

}  // namespace qel
