// Options to search settings: the one place where the two meet.
#include "search/SearchOptions.h"

#include "app/Options.h"
#include "search/SearchSettings.h"

namespace qel {

void applyOptions(const Options& options, SearchSettings& search) {
  search.expansionAt = options.expansionAt;
  search.expansionHash = options.expansionHash;
  search.variablesExclusive = options.variablesExclusive;
  search.showAnnotations = options.viewShowAnnotations;
  search.showBalances = options.viewShowBalances;
  search.outputLower = options.outputLower;
  search.outputUpper = options.outputUpper;
  search.outputPunctuation = options.outputPunctuation;
  search.outputWhitespace = options.outputWhitespace;
  search.sorting = options.viewSorting;
  search.sortingAscending = options.viewSortingAscending;
  search.lengthGrouping = options.viewLengthGrouping;
  search.lengthGroupingAscending = options.viewLengthGroupingAscending;
  search.commonFirst = options.viewCommonFirst;
  search.maxRank = options.viewMaxRank;
  // Options set in the program itself are not checked on the way in, so the range is kept here too.
  const int32_t multiple = options.viewMultipleDictionaries;
  search.multiple = multiple >= 0 && multiple <= 2 ? static_cast<MultipleDictionaries>(multiple)
                                                   : MultipleDictionaries::SuppressDuplicates;
}

}  // namespace qel
