// What an enumerator asks of a compiled pattern: does this decoded entry pass? The pattern engine
// implements it; a null filter accepts every entry.
#pragma once

#include <cstdint>

namespace qel {

class EntryFilter {
 public:
  virtual ~EntryFilter() = default;
  // letters: the entry's letter indices followed by 0xFF; length: how many letters;
  // text: the entry's display text (word part), NUL-terminated, in code page 1252.
  virtual bool accepts(const uint8_t* letters, int length, const char* text) = 0;
};

}  // namespace qel
