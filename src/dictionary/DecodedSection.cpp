#include "dictionary/DecodedSection.h"

#include <algorithm>
#include <atomic>

#include "dictionary/Alphabet.h"

namespace qel {
namespace {

std::atomic<size_t> g_budget{0};
std::atomic<size_t> g_used{0};

}  // namespace

std::shared_ptr<const DecodedSection> SectionRecording::finish(
    std::shared_ptr<SectionRecording> recording, bool complete) {
  recording->items.shrink_to_fit();
  recording->texts.shrink_to_fit();
  recording->letters.shrink_to_fit();
  auto section = std::make_shared<DecodedSection>();
  section->complete = complete;
  section->items = recording->items;
  section->texts = recording->texts;
  section->letters = recording->letters;
  section->heapBytes = recording->bytes();
  while (section->leadingEntries < section->items.size() &&
         !(section->items[section->leadingEntries].flags & DecodedItem::kGroupEnd)) {
    ++section->leadingEntries;
  }
  section->storage = std::move(recording);
  return section;
}

void setDecodedSectionBudget(size_t bytes) { g_budget = bytes; }
size_t decodedSectionBudget() { return g_budget; }
size_t decodedSectionBytes() { return g_used; }

namespace decoded_sections {

bool reserve(size_t bytes) {
  size_t used = g_used.load();
  do {
    if (used + bytes > g_budget.load() || used + bytes < used) return false;
  } while (!g_used.compare_exchange_weak(used, used + bytes));
  return true;
}

void release(size_t bytes) { g_used -= bytes; }

}  // namespace decoded_sections
bool lettersSound(std::span<const uint8_t> letters, int alphabetTotal, int length) {
  static_assert(kEndOfLetters == 0xFF);
  // Sixteen lanes, which the compiler keeps in one vector register each: adding one turns the end
  // mark into 0, so that a lane's highest value is that of its highest letter index; a lane counts
  // its end marks for at most 255 rows before they are added up.
  constexpr size_t kLanes = 16;
  constexpr size_t kRows = 255;
  const uint8_t* p = letters.data();
  const size_t size = letters.size();
  uint8_t highest[kLanes] = {};
  size_t marks = 0;
  size_t i = 0;
  while (size - i >= kLanes) {
    uint8_t laneMarks[kLanes] = {};
    const size_t rows = std::min(kRows, (size - i) / kLanes);
    for (size_t row = 0; row < rows; ++row, i += kLanes) {
      for (size_t k = 0; k < kLanes; ++k) {
        const uint8_t shifted = static_cast<uint8_t>(p[i + k] + 1);
        highest[k] = std::max(highest[k], shifted);
        laneMarks[k] = static_cast<uint8_t>(laneMarks[k] + (shifted == 0));
      }
    }
    for (size_t k = 0; k < kLanes; ++k) marks += laneMarks[k];
  }
  uint8_t top = 0;
  for (size_t k = 0; k < kLanes; ++k) top = std::max(top, highest[k]);
  for (; i < size; ++i) {
    const uint8_t shifted = static_cast<uint8_t>(p[i] + 1);
    top = std::max(top, shifted);
    marks += shifted == 0;
  }
  const size_t stride = static_cast<size_t>(length) + 1;
  if (top > alphabetTotal || marks * stride != size) return false;
  // As many end marks as entries: each at its entry's end means none among the letters.
  uint8_t ends = kEndOfLetters;
  size_t end = stride - 1;
  for (; end + 3 * stride < size; end += 4 * stride) {
    ends &= p[end] & p[end + stride] & p[end + 2 * stride] & p[end + 3 * stride];
  }
  for (; end < size; end += stride) ends &= p[end];
  return ends == kEndOfLetters;
}

}  // namespace qel
