// The stored definitions of one word over a list of dictionaries.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "dictionary/Definition.h"

namespace qel {

class QCDictionaryList;

// Appends to `definitions` the records of every entry that has the letters of `word` (whatever its
// capitals, blanks and punctuation), dictionaries in list order, within one dictionary entries in
// file order and their records in table order. A record reached from several entries of one
// dictionary comes once, with the first entry's text. The word's letters are those of the first
// valid dictionary's alphabet. `word` is in code page 1252.
void definitionsOfWord(QCDictionaryList& list, std::string_view word,
                       std::vector<Definition>& definitions);

// The dictionaries a lookup reads: those open, then each definition dictionary (a ";"-separated
// list text) that the open dictionaries' list text does not already hold.
std::vector<std::string> lookupDictionaryPaths(const std::vector<std::string>& open,
                                               std::string_view definitionListText);

}  // namespace qel
