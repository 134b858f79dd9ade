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
  uint8_t letterCount = 0;  // letters of the entry, kept by ordered lists for their comparisons
  // Characters after the entry that are its annotation as shown (with the blank that separates
  // it), so that saving the results as a dictionary can keep it apart from the balance.
  uint8_t annotationLength = 0;

  // The entry, then its annotation and balance (or its context), cut at 255 characters.
  std::string_view text() const { return std::string_view(textData, textLength); }
  std::string_view entry() const { return std::string_view(textData, entryLength); }
  std::string_view annotation() const {
    return std::string_view(textData + entryLength, annotationLength);
  }
};
static_assert(sizeof(ResultRecord) == 16);

// The order code for the view settings: sorting on or off and its direction, grouping by length
// on or off and its direction.
ResultOrder resultOrderFor(bool sorting, bool sortingAscending, bool grouping,
                           bool groupingAscending);

// A part of a result's text as it follows the entry: behind one blank, unless it starts with one.
std::string separated(std::string_view part);

// Whether entry a sorts strictly before entry b in `order` (never for Discovery).
bool sortsBefore(std::string_view a, std::string_view b, ResultOrder order);
// The same with the letter counts of both entries already known.
bool sortsBefore(std::string_view a, int aLetters, std::string_view b, int bLetters,
                 ResultOrder order);

// A number that orders entries as `order` does wherever two numbers differ: the letter count for
// the grouped orders, then the first seven folded letters. Equal numbers leave it to sortsBefore().
uint64_t orderKey(std::string_view entry, int letters, ResultOrder order);

}  // namespace qel
