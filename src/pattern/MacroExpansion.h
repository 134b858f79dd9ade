// The "@" and "#" macros of the pattern box, expanded once before a pattern is parsed.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace qel {

inline constexpr std::string_view kDefaultAtExpansion = "[aeiou]";
inline constexpr std::string_view kDefaultHashExpansion = "[^aeiou]";

// Expanded pattern text longer than this is refused before anything is compiled: no pattern of
// a set can use more than a few hundred characters, and a set holds at most kMaxPatterns of them.
inline constexpr size_t kMaxExpandedPattern = 1 << 16;

// Replaces each "@" and "#" by its expansion; an empty expansion leaves the character as it is,
// and an escaped character stays escaped. Expansions are not expanded again. Nothing when the
// result would be longer than kMaxExpandedPattern.
std::optional<std::string> expandMacros(std::string_view text, std::string_view atExpansion,
                                        std::string_view hashExpansion);

}  // namespace qel
