// Brackets that change nothing. In a pattern made only of letters, match-alls, wildcards, choice
// lists, letter variables and brackets, a bracketed group is matched exactly as its contents
// would be without the brackets, but at the cost of a sub-pattern tried at every length
// ("*(*e*)*" is "*e*"). Such a pattern is compiled without its brackets; any other is left as
// typed, so that punctuation, anagram parts and errors keep their meaning.
#pragma once

#include <string>
#include <string_view>

#include "dictionary/Alphabet.h"

namespace qel::pattern {

std::string withoutPlainGroups(std::string_view pattern, const Alphabet& alphabet);

}  // namespace qel::pattern
