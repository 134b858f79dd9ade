// The settings a search reads, with the defaults a new user has.
#pragma once

#include <cstdint>
#include <string>

#include "pattern/PatternLimits.h"

namespace qel {

enum class SearchState : uint8_t {
  NoPattern = 0,
  Ready = 1,
  Searching = 2,
  Paused = 3,
  Closing = 4
};

// How several open dictionaries are searched.
enum class MultipleDictionaries : uint8_t {
  SuppressDuplicates = 0,  // all dictionaries; a word found in an earlier pane is not repeated
  Independent = 1,         // all dictionaries, each on its own
  ActiveOnly = 2,          // only the active dictionary; the other panes keep their results
};

struct SearchSettings {
  int shortest = 1;  // the Shortest and Longest boxes
  int longest = pattern::kLongestWord;
  bool fullText = false;
  bool sorting = false;
  bool sortingAscending = true;
  bool lengthGrouping = true;
  bool lengthGroupingAscending = true;
  bool showAnnotations = true;
  bool showBalances = true;
  bool outputLower = true;
  bool outputUpper = true;
  bool outputPunctuation = true;
  bool outputWhitespace = true;
  MultipleDictionaries multiple = MultipleDictionaries::SuppressDuplicates;
  int activePane = 0;
  std::string expansionAt = "[aeiou]";
  std::string expansionHash = "[^aeiou]";
  bool variablesExclusive = true;
  // Full Text Search reads every definition even where the index could answer (for comparisons).
  bool fullTextWithoutIndex = false;
  // Commonness ranks (beside each dictionary), when there are any: the most common words first
  // within each length group or order, and the words rarer than maxRank left out. The defaults
  // leave every search as it was without ranks.
  bool commonFirst = false;
  int maxRank = 100;
  // Phrase Anagram instead of Word Search: the pattern is the letters to rearrange into up to
  // anagramWords entries of the active dictionary, each of at least `shortest` letters.
  bool phraseAnagram = false;
  int anagramWords = 3;
};

// Shortest and Longest move together, as their boxes do: a Shortest raised above Longest raises
// Longest with it, a Longest lowered below Shortest lowers Shortest.
inline void keepShortestLongestOrdered(SearchSettings& settings, bool longestChanged) {
  if (settings.shortest <= settings.longest) return;
  if (longestChanged) {
    settings.shortest = settings.longest;
  } else {
    settings.longest = settings.shortest;
  }
}

}  // namespace qel
