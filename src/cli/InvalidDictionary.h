// What qel-cli says of a dictionary it cannot use: the system's own words for a file that is no
// valid dictionary, the reason in the system's words for one that cannot be read at all.
#pragma once

#include <iosfwd>

#include "dictionary/QCDictionaryList.h"

namespace qel::cli {

// Says on `err` why dictionary `i` of the list cannot be used.
void reportInvalidDictionary(const QCDictionaryList& list, int i, std::ostream& err);

// Re-checks every dictionary of the list; reports the first that cannot be used and returns
// true, or returns false when all are valid.
bool reportFirstInvalidDictionary(QCDictionaryList& list, std::ostream& err);

}  // namespace qel::cli
