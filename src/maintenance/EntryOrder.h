// The order of entries and index terms within a length, and the links between entries and the
// words of the full-text index.
#pragma once

#include <string_view>

#include "maintenance/BuildState.h"

namespace qel::build {

// WordListMap order: by folded letters first, then byte by byte (a proper prefix first).
struct WordListMapComparator {
  bool operator()(std::string_view a, std::string_view b) const;
};

// Sorts each length's entries, merges equal texts, and counts what the alphabet analysis needs:
// the byte frequencies of the distinct entries, the entry counts and N.
void arrangeEntries(BuildState& state);

// Finds each distinct entry's index word (by its canonical letters), and marks the words that may
// become index terms: those no entry carries, whose length has entries and whose letters all occur
// in the entries (others could not be written in the entries' alphabet).
void linkEntriesToWords(BuildState& state);

// Puts the index terms of each length in WordListMap order of their written form. Run after the
// reference lists are written: a candidate whose list came to nothing is no term.
void orderIndexTerms(BuildState& state);

// The written form of an index word: each letter in its most frequent form.
void termText(const BuildState& state, uint32_t word, std::string& text);

}  // namespace qel::build
