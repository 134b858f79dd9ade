// Definition output: the records of definition regions 1 and 2, written from two further reads of
// the source, and the reference lists of the index words.
#pragma once

#include <string>
#include <string_view>

#include "maintenance/BuildState.h"

namespace qel::build {

// Appends `text` as a masked string: every byte and the closing NUL XORed with the mask byte.
void appendMasked(std::string& out, std::string_view text);

// Writes the records of both passes and sets the region offsets. False when the source abandoned
// the build (already logged).
bool writeDefinitions(BuildState& state);

// Writes the reference list of every index word that an entry or an index term will point at.
void writeReferenceLists(BuildState& state);

}  // namespace qel::build
