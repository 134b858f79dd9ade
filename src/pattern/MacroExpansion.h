// The "@" and "#" macros of the pattern box, expanded once before a pattern is parsed.
#pragma once

#include <string>
#include <string_view>

namespace qel {

inline constexpr std::string_view kDefaultAtExpansion = "[aeiou]";
inline constexpr std::string_view kDefaultHashExpansion = "[^aeiou]";

// Replaces each "@" and "#" by its expansion; an empty expansion leaves the character as it is,
// and an escaped character stays escaped. Expansions are not expanded again.
std::string expandMacros(std::string_view text, std::string_view atExpansion,
                         std::string_view hashExpansion);

}  // namespace qel
