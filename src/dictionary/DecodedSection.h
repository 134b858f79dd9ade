// A length section as it was decoded once: every item with its letters, text and reference state,
// so that later enumerations of the section replay it without reading or decoding the file. Kept
// by the dictionary until its file is read again, within a process-wide memory budget.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace qel {

struct DecodedItem {
  static constexpr uint8_t kGroupEnd = 1;   // an item without letters that ends a group
  static constexpr uint8_t kReference = 2;  // the entry's reference flag

  uint32_t text = 0;     // offset into DecodedSection::texts
  uint32_t letters = 0;  // offset into DecodedSection::letters (entries only)
  int32_t referenceCounter = 0;
  uint16_t textSize = 0;  // bytes, with the two NULs that end the text
  uint16_t wordSize = 0;
  int8_t groupState = 0;
  uint8_t flags = 0;
};

struct DecodedSection {
  // False when the items end at the first group's end: the groups after it are read from the file.
  bool complete = false;
  std::vector<DecodedItem> items;
  std::vector<char> texts;
  std::vector<uint8_t> letters;

  size_t bytes() const {
    return items.capacity() * sizeof(DecodedItem) + texts.capacity() + letters.capacity();
  }
};

// The memory decoded sections may take in the process, in bytes; 0 (the default) keeps none, as a
// program that searches once gains nothing from them. Sections kept already stay.
void setDecodedSectionBudget(size_t bytes);
// What the window program allows: a dictionary ten times the default one fits.
inline constexpr size_t kWindowDecodedSectionBudget = size_t{256} << 20;
size_t decodedSectionBudget();
// What the kept sections take now.
size_t decodedSectionBytes();

namespace decoded_sections {
// Takes `bytes` from the budget; false (nothing taken) when they do not fit.
bool reserve(size_t bytes);
void release(size_t bytes);
}  // namespace decoded_sections

}  // namespace qel
