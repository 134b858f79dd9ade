// The item an enumeration stands on, as decoding the file or replaying a decoded section gives it:
// its text and letters, where callers read them, and its group and reference state.
#pragma once

#include <cstdint>

namespace qel {

struct CurrentItem {
  static constexpr int kTextSize = 900;
  static constexpr int kLettersSize = 100;

  int wordSize = 0;  // bytes of the word, before its annotation
  int groupState = 0;
  int referenceFlag = 0;
  int referenceCounter = 0;
  // The entry's letter indices, then kEndOfLetters; kEndOfLetters first at a group end.
  uint8_t letters[kLettersSize];
  // The word (NUL-terminated), then its annotation lines, then an empty string.
  char text[kTextSize];
};

}  // namespace qel
