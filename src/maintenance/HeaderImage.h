// The bytes of a version 1 header: written once in full with a blank tag before anything else,
// and its offset tables written again with the real tag once the build knows them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "maintenance/BuildState.h"

namespace qel::build {

// Tag (four blanks), tables, description, S, T, symbol records, score block count and scores.
std::string headerImage(const BuildState& state, const std::vector<int8_t>& scores);

// N, the region offsets and the four offset tables: the bytes from offset 4 up to the entry
// counts, which are all a finished build needs to write again besides the tag.
std::string headerTables(const HeaderTables& header);

}  // namespace qel::build
