// The options that govern a search, carried from the stored options into the search settings.
#pragma once

namespace qel {

struct Options;
struct SearchSettings;

// Carries the options that govern a search into `search`; the rest of it (lengths, mode, active
// pane) belongs to the main view and is left alone.
void applyOptions(const Options& options, SearchSettings& search);

}  // namespace qel
