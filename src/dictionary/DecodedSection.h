// A length section as it was decoded once: every item with its letters, text and reference state,
// so that later enumerations of the section replay it without reading or decoding the file. Kept
// by the dictionary until its file is read again: in memory within a process-wide budget, or in a
// mapped side file made by an earlier process.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
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
  uint16_t reserved = 0;  // written as 0, so that side files hold no stray bytes
};
static_assert(sizeof(DecodedItem) == 20, "side files hold the items as they are laid out");

// What replay reads. Each entry's letters are followed by kEndOfLetters and its word by a NUL, so
// a filter can look at an entry where it lies. Replay checks each item against the section's
// bounds as it goes, since a side file may be damaged; the texts end with a NUL and the letters
// with kEndOfLetters, so that nothing read from inside them runs past their end.
struct DecodedSection {
  // False when the items end at the first group's end: the groups after it are read from the file.
  bool complete = false;
  std::span<const DecodedItem> items;
  std::span<const char> texts;
  std::span<const uint8_t> letters;
  std::shared_ptr<const void> storage;  // what the spans point into
  size_t heapBytes = 0;                 // taken from the budget (none for a mapped side file)
  // Items before the first group end: entries whose letters lie one after another from the start
  // of `letters`, each with its end mark, so that a filter can run over them without the items.
  size_t leadingEntries = 0;
  // Set for letters not known to be sound yet (a side file's): every byte but an end mark must be
  // a letter index below alphabetTotal. Replay checks them with lettersSound() a chunk at a time
  // as it reaches them, so that they come from memory once for the check and the filter together.
  bool lettersUnchecked = false;
  int alphabetTotal = 0;
  // Told when replay meets an item that does not fit; replay then goes on from the dictionary.
  std::function<void()> damaged;

  // The item lies inside the section, with room for the ends of its text and letters.
  bool fits(const DecodedItem& item, int length, size_t textLimit) const {
    return item.textSize >= 2 && item.textSize <= textLimit && item.wordSize + 2 <= item.textSize &&
           size_t{item.text} + item.textSize <= texts.size() &&
           ((item.flags & DecodedItem::kGroupEnd) ||
            size_t{item.letters} + static_cast<size_t>(length) + 1 <= letters.size());
  }
};

// Whether `letters` are entries of `length` letters one after another, each a letter index below
// `alphabetTotal`, and each entry followed by an end mark.
bool lettersSound(std::span<const uint8_t> letters, int alphabetTotal, int length);

// A section collected while it is decoded, handed over as a DecodedSection once whole.
struct SectionRecording {
  std::vector<DecodedItem> items;
  std::vector<char> texts;
  std::vector<uint8_t> letters;

  size_t bytes() const {
    return items.capacity() * sizeof(DecodedItem) + texts.capacity() + letters.capacity();
  }
  static std::shared_ptr<const DecodedSection> finish(std::shared_ptr<SectionRecording> recording,
                                                      bool complete);
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
