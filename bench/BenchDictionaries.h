// Dictionaries the benchmarks run over, built once per process from the installed word list.
#pragma once

#include <string>
#include <vector>

namespace qel::bench {

// The installed big word list in code page 1252, escaped as builder source lines.
const std::vector<std::string>& wordListSource();
// Path of a dictionary built from wordListSource() (built on first use, in the temporary folder).
const std::string& wordListDictionary();
// The default dictionary beside the built programs, or empty when it has not been built.
std::string defaultDictionary();

}  // namespace qel::bench
