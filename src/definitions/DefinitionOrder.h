// How the definitions found for a word are headed, ordered and which one is shown first.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "dictionary/Definition.h"

namespace qel {

// The first heading pair's first text followed by its second text (a blank between them unless
// one of them has it): "bank 2". The entry text for a record without heading pairs.
std::string headingOf(const Definition& definition);

// Puts in first place the heading pair of each definition that reads most like `key` (the word
// looked up, with the number that followed it in a definition text: "bank" + "2"): one equal to
// it, else the one that matches the most leading letters and digits, ties going to a pair whose
// first text is exactly the key.
void chooseHeadingPairs(std::vector<Definition>& definitions, std::string_view key);

// By dictionary, then by the first and second texts of the first heading pair (or the entry text)
// in natural order. Definitions that compare equal keep their order.
void sortDefinitions(std::vector<Definition>& definitions);

// The definition to show first: among those of the first definition's dictionary or of
// `preferredPath`, the last whose heading equals `key`, else the first to match more of it than
// those before. -1 when there is none (no definitions, or no match at all), for the caller to
// take the first.
int initialDefinition(const std::vector<Definition>& definitions, std::string_view key,
                      std::string_view preferredPath);

}  // namespace qel
