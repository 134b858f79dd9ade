#include "dictionary/DecodedSection.h"

#include <atomic>

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
}  // namespace qel
