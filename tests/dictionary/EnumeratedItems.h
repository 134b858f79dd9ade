// Everything enumerations give, item by item, as text: what decoding and replay must agree on.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "dictionary/Alphabet.h"
#include "dictionary/EntryEnumerator.h"

namespace qel::test {

// Everything an enumeration gives of one item, as text.
// `replayed`: whether the section came from memory.
inline std::vector<std::string> enumerateItems(EntryEnumerator& e, int length,
                                               bool* replayed = nullptr) {
  std::vector<std::string> items;
  const bool selected = e.selectLength(length);
  if (replayed) *replayed = e.replaying();
  if (!selected) return items;
  for (;;) {
    const uint8_t* letters = e.next(nullptr);
    std::string item = std::to_string(e.groupState()) + "|";
    const std::optional<int> reference = e.referenceNumber();
    item += reference ? std::to_string(*reference) : "-";
    if (letters[0] == kEndOfLetters) {
      items.push_back(item + "|end");
      if (e.groupState() < 0) break;
      continue;
    }
    item += "|" + std::string(e.word()) + "|" + (e.annotation() ? e.annotation() : "") + "|";
    for (int i = 0; i < length; ++i) item += std::to_string(letters[i]) + ",";
    items.push_back(item);
  }
  return items;
}

}  // namespace qel::test
