// The kind of a dictionary entry for the output filters: all lower case, some capitals,
// punctuated, or a phrase.
#pragma once

#include <string_view>

#include "dictionary/Alphabet.h"

namespace qel {

enum class EntryClass { Lower, Upper, Punctuation, Phrase };

// `text` is the entry's word as displayed, `length` its number of letters in `alphabet`.
EntryClass classifyEntry(std::string_view text, int length, const Alphabet& alphabet);

// Upper-case letters of code page 1252.
bool isUpperCase(unsigned char c);

}  // namespace qel
