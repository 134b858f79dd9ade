// Output of the length sections: for each length with entries, its index-group reference table,
// its entry bit stream (entries with their reference flags, group end, index terms, group end) and
// its entry-group reference table.
#pragma once

#include "maintenance/BuildState.h"

namespace qel::build {

// Writes every section and fills in the per-length header tables. False when the source abandoned
// the build (already logged).
bool writeSections(BuildState& state);

}  // namespace qel::build
