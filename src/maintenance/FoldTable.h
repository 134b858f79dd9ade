// The fold table that new dictionaries are built with: every letter folds to its lower-case base
// letter, so case and accents never matter in a search and balances read in lower case.
#pragma once

#include <array>
#include <cstdint>

namespace qel {

std::array<uint8_t, 256> lowerCaseFoldTable();

}  // namespace qel
