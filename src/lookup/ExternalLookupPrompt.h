// The question the External Lookup prompt asks about a word.
#pragma once

#include <string>
#include <string_view>

namespace qel {

// The prompt's message: whether to look the word up externally, or how to enable a method first
// when none is; `noDefinitions` when the dictionaries had nothing for the word. The word goes
// between the text's first pair of adjacent double quotes.
std::string externalLookupPromptText(std::string_view wordUtf8, bool noDefinitions,
                                     bool noneEnabled);

}  // namespace qel
