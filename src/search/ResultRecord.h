// One stored search result and the orders a results list can keep.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qel {

// 0 keeps discovery order; 1/2 alphabetical ascending/descending; 3/4 grouped by ascending length,
// then alphabetical ascending/descending; 5/6 the same grouped by descending length.
enum class ResultOrder : uint8_t {
  Discovery = 0,
  Ascending = 1,
  Descending = 2,
  ShortFirstAscending = 3,
  ShortFirstDescending = 4,
  LongFirstAscending = 5,
  LongFirstDescending = 6,
};

// Sixteen bytes, since a list may hold millions. The text lives in its list's storage and stays
// valid until the list is cleared.
struct ResultRecord {
  static constexpr size_t kMaxText = 255;

  const char* textData = nullptr;
  int32_t definitionNumber = 0;  // 0 for a word search result
  uint8_t entryLength = 0;       // leading characters of text that are the entry itself
  uint8_t textLength = 0;

  // The entry, then its annotation and balance (or its context), cut at 255 characters.
  std::string_view text() const { return std::string_view(textData, textLength); }
  std::string_view entry() const { return std::string_view(textData, entryLength); }
};

// The order code for the view settings: sorting on or off and its direction, grouping by length
// on or off and its direction.
ResultOrder resultOrderFor(bool sorting, bool sortingAscending, bool grouping,
                           bool groupingAscending);

// A part of a result's text as it follows the entry: behind one blank, unless it starts with one.
std::string separated(std::string_view part);

// Whether entry a sorts strictly before entry b in `order` (never for Discovery).
bool sortsBefore(std::string_view a, std::string_view b, ResultOrder order);

}  // namespace qel
