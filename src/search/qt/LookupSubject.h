// What Lookup takes from the main view: a word, and where it came from.
#pragma once

#include <cstdint>
#include <string>

namespace qel {

struct LookupSubject {
  std::string word;  // code page 1252
  int pane = -1;     // -1: the pattern box
  long row = -1;
  int32_t definitionNumber = 0;  // of a full-text result
};

}  // namespace qel
