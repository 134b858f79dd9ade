// Shared helpers for the pattern tests: an a-z alphabet (capitals and accented Latin-1 letters
// fold to their base letter) and words turned into letter strings.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "dictionary/Alphabet.h"
#include "pattern/MatchEngineSet.h"

namespace qel::test {

const Alphabet& latinAlphabet();

// Letter indices of the word's letters, ending with 0xFF.
std::vector<uint8_t> lettersOf(std::string_view word, const Alphabet& alphabet = latinAlphabet());

// Parses the pattern into the set (Shortest 1, Longest 31) and returns the error index.
uint8_t parseInto(MatchEngineSet& set, std::string_view pattern);

// Whether the parsed set accepts the word, as a search would offer it.
bool accepts(MatchEngineSet& set, std::string_view word);

// Parses and matches in one go; false when the pattern does not parse.
bool matches(std::string_view pattern, std::string_view word);

std::string repeat(std::string_view s, int n);

// Converts UTF-8 to code page 1252 for the Latin-1 range; false if a character falls outside it.
bool latin1FromUtf8(std::string_view utf8, std::string& out);

}  // namespace qel::test
