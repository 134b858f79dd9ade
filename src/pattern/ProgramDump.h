// Text form of a compiled pattern, one code per line, nested sequences indented; for tests and
// for looking at what the compiler made of a pattern.
#pragma once

#include <string>

#include "dictionary/Alphabet.h"
#include "pattern/CompiledPattern.h"

namespace qel::pattern {

std::string dumpProgram(const CompiledPattern& pattern, const Alphabet& alphabet);

}  // namespace qel::pattern
