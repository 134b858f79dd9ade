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
  uint8_t highest = 0;
  size_t marks = 0;
  size_t i = 0;
  // Blocks of a fixed size, which the compiler vectorises without a remainder loop. Adding one
  // turns the end mark into 0, so that the highest value is that of the highest letter index.
  constexpr size_t kBlock = 64;
  for (; i + kBlock <= letters.size(); i += kBlock) {
    uint8_t block = 0;
    uint8_t blockMarks = 0;
    for (size_t k = 0; k < kBlock; ++k) {
      const uint8_t shifted = letters[i + k] + 1;
      block = std::max(block, shifted);
      blockMarks += shifted == 0;
    }
    highest = std::max(highest, block);
    marks += blockMarks;
  }
  for (; i < letters.size(); ++i) {
    const uint8_t shifted = letters[i] + 1;
    highest = std::max(highest, shifted);
    marks += shifted == 0;
  }
  return highest <= alphabetTotal && marks * (static_cast<size_t>(length) + 1) == letters.size();
}

}  // namespace qel
