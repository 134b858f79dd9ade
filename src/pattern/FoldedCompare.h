// Comparison of words by their letters alone: case, accents, blanks, digits and punctuation do not
// count. Independent of any dictionary's alphabet; texts are code page 1252 bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace qel::folded {

// Folded value of a character: an upper-case base letter, one of the letters kept as their own
// (0x8C, 0xC6, 0xDE, 0xDF), or 0 for a character that is not a letter.
uint8_t fold(uint8_t c);

// Negative, 0 or positive. Folded values compare as signed bytes, so the letters kept as their own
// sort before "A".
int compare(std::string_view a, std::string_view b);

int letterCount(std::string_view text);

uint32_t hash(std::string_view text);

bool isLetterOrDigit(uint8_t c);

}  // namespace qel::folded
