// A length section as it was decoded once: every item with its letters, text and reference state,
// so that later enumerations of the section replay it without reading or decoding the file. Kept
// by the dictionary until its file is read again: in memory within a process-wide budget, or in a
// mapped side file made by an earlier process.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <vector>

#include "dictionary/Alphabet.h"

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

// Replay asks where each entry is: a call per entry would cost as much as the answer.
#if defined(__GNUC__)
#define QEL_ALWAYS_INLINE [[gnu::always_inline]] inline
#else
#define QEL_ALWAYS_INLINE inline
#endif

inline uint32_t countBits(uint64_t bits) {
#ifdef __POPCNT__
  return static_cast<uint32_t>(std::popcount(bits));
#else
  // Without the instruction, std::popcount is a library call; this is a few operations inline.
  bits -= (bits >> 1) & 0x5555555555555555ull;
  bits = (bits & 0x3333333333333333ull) + ((bits >> 2) & 0x3333333333333333ull);
  bits = (bits + (bits >> 4)) & 0x0F0F0F0F0F0F0F0Full;
  return static_cast<uint32_t>((bits * 0x0101010101010101ull) >> 56);
#endif
}

// What replay reads. Each entry's letters are followed by kEndOfLetters and its word by a NUL, so
// a filter can look at an entry where it lies. Replay checks each item against the section's
// bounds as it goes, since a side file may be damaged; the texts end with a NUL and the letters
// with kEndOfLetters, so that nothing read from inside them runs past their end.
//
// Most words of a word list are spelled out by their letters: their text is the characters of
// their letters and nothing more, and their group state and reference follow from their place.
// Such a leading entry keeps no item and no text; its letters say everything. So an entry that a
// filter accepts needs nothing from memory but its letters, and the items and texts of the
// others lie close together, which spares the pages between them.
struct DecodedSection {
  static constexpr size_t kSpelledOut = SIZE_MAX;  // the place of an entry spelled out
  static constexpr size_t kNoItem = SIZE_MAX - 1;  // a place whose counts are damaged

  // False when the items end at the first group's end: the groups after it are read from the file.
  bool complete = false;
  // The items of the leading entries not spelled out, then those after the leading entries.
  std::span<const DecodedItem> items;
  std::span<const char> texts;
  std::span<const uint8_t> letters;
  std::shared_ptr<const void> storage;  // what the spans point into
  size_t heapBytes = 0;                 // taken from the budget (none for a mapped side file)
  // Entries before the first group end: entries whose letters lie one after another from the start
  // of `letters`, each with its end mark, so that a filter can run over them without the items.
  size_t leadingEntries = 0;
  // Per leading entry, one bit in each 64-bit word: spelled out; its reference flag. Per word, how
  // many leading entries before it are not spelled out, and how many have a reference flag.
  std::span<const uint64_t> spelled;
  std::span<const uint64_t> referenced;
  std::span<const uint32_t> unspelledBefore;
  std::span<const uint32_t> referencedBefore;
  size_t unspelledLeading = 0;  // items of leading entries
  int leadingGroupState = 0;
  // Set for letters not known to be sound yet (a side file's): every byte but an end mark must be
  // a letter index below alphabetTotal. Replay checks them with lettersSound() a chunk at a time
  // as it reaches them, so that they come from memory once for the check and the filter together.
  bool lettersUnchecked = false;
  int alphabetTotal = 0;
  // Told when replay meets an item that does not fit; replay then goes on from the dictionary.
  std::function<void()> damaged;

  // Entries and group ends: where replay ends.
  size_t positions() const { return leadingEntries + (items.size() - unspelledLeading); }

  // Where replay finds the entry or group end at a position (below positions()).
  struct Place {
    size_t item;  // index into items, kSpelledOut, or kNoItem when the counts kept are damaged
    // Of an entry spelled out, as decoding gives them.
    int referenceFlag;
    int referenceCounter;
  };
  // The counts of leading entries before a position, so that replay stepping from one entry to
  // the next counts no bits.
  struct Cursor {
    size_t position = SIZE_MAX;
    size_t unspelled = 0;
    uint32_t referenced = 0;
  };
  // The place of `position`; `cursor` moves on past it (from anywhere). Inline: replay asks it
  // for every entry.
  QEL_ALWAYS_INLINE Place place(size_t position, Cursor& cursor) const {
    if (position >= leadingEntries) return {unspelledLeading + (position - leadingEntries), 0, 0};
    // The four arrays are as long as each other (one value per 64 leading entries).
    const size_t word = position / 64;
    if (word >= spelled.size()) return {kNoItem, 0, 0};
    const uint64_t bit = uint64_t{1} << (position % 64);
    const uint64_t spelledWord = spelled[word];
    const uint64_t referencedWord = referenced[word];
    if (cursor.position != position) {
      cursor.unspelled = unspelledBefore[word] + countBits(~spelledWord & (bit - 1));
      cursor.referenced = referencedBefore[word] + countBits(referencedWord & (bit - 1));
    }
    cursor.position = position + 1;
    const int flag = (referencedWord & bit) ? 1 : 0;
    cursor.referenced += static_cast<uint32_t>(flag);
    if (spelledWord & bit) {
      // The counter counts flags (the first group's state), or else entries.
      if (leadingGroupState == 2) return {kSpelledOut, flag, static_cast<int>(cursor.referenced)};
      return {kSpelledOut, 0, static_cast<int>(position + 1)};
    }
    const size_t index = cursor.unspelled++;
    return {index < unspelledLeading ? index : kNoItem, 0, 0};
  }
  // Only where replay finds the entry: one bit for an entry spelled out, no reference counted.
  QEL_ALWAYS_INLINE size_t itemIndex(size_t position) const {
    if (position >= leadingEntries) return unspelledLeading + (position - leadingEntries);
    const size_t word = position / 64;
    if (word >= spelled.size()) return kNoItem;
    const uint64_t bit = uint64_t{1} << (position % 64);
    if (spelled[word] & bit) return kSpelledOut;
    const size_t index = unspelledBefore[word] + countBits(~spelled[word] & (bit - 1));
    return index < unspelledLeading ? index : kNoItem;
  }

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
  // Filled by finish(), as DecodedSection describes them.
  std::vector<uint64_t> spelled, referenced;
  std::vector<uint32_t> unspelledBefore, referencedBefore;

  size_t bytes() const {
    return items.capacity() * sizeof(DecodedItem) + texts.capacity() + letters.capacity() +
           (spelled.capacity() + referenced.capacity()) * sizeof(uint64_t) +
           (unspelledBefore.capacity() + referencedBefore.capacity()) * sizeof(uint32_t);
  }
  // The section of `length` letters that `recording` holds, every item and text with it, with the
  // leading entries that `alphabet` spells out left to their letters.
  static std::shared_ptr<const DecodedSection> finish(std::shared_ptr<SectionRecording> recording,
                                                      bool complete, int length,
                                                      const Alphabet& alphabet);
};

// How many letters from letter 0 on have characters that follow one another ("a" to "z"): a word
// of those letters only is spelled by adding the character of letter 0 to each.
int spelledRun(const Alphabet& alphabet);
// Whether the words that `alphabet` spells out by their letters are ASCII, and so their own UTF-8.
bool spellsAscii(const Alphabet& alphabet);

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
