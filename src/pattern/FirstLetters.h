// The letters a sub-pattern's first position can hold, worked out once per compiled pattern so that
// an anagram part tries a sub-pattern only where the word has one of them.
#pragma once

#include "pattern/CompiledPattern.h"

namespace qel::pattern {

// For a letter-set table entry that holds a sub-pattern program (header first): the letters its
// first letter position allows; every letter when that depends on more than its first code. For a
// choice-list map: every letter (unused).
LetterSet firstLettersOf(const Bytes& entry);

}  // namespace qel::pattern
