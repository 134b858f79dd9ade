#include "dictionary/DecodedSection.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <cstdint>

#include "dictionary/Alphabet.h"

namespace qel {
namespace {

std::atomic<size_t> g_budget{0};
std::atomic<size_t> g_used{0};

}  // namespace

int spelledRun(const Alphabet& alphabet) {
  int run = alphabet.total > 0 ? 1 : 0;
  while (run < alphabet.total && alphabet.character[run] == alphabet.character[0] + run) ++run;
  return run;
}

bool spellsAscii(const Alphabet& alphabet) {
  const int run = spelledRun(alphabet);
  return run > 0 && static_cast<uint8_t>(alphabet.character[0]) + run - 1 < 0x80;
}

std::shared_ptr<const DecodedSection> SectionRecording::finish(
    std::shared_ptr<SectionRecording> recording, bool complete, int length,
    const Alphabet& alphabet) {
  SectionRecording& whole = *recording;
  auto kept = std::make_shared<SectionRecording>();
  size_t leading = 0;
  while (leading < whole.items.size() && !(whole.items[leading].flags & DecodedItem::kGroupEnd)) {
    ++leading;
  }
  const int groupState = leading > 0 ? whole.items[0].groupState : 0;
  const int run = spelledRun(alphabet);
  const auto base = static_cast<uint8_t>(alphabet.character[0]);
  const size_t words = (leading + 63) / 64;
  kept->spelled.assign(words, 0);
  kept->referenced.assign(words, 0);
  kept->unspelledBefore.assign(words, 0);
  kept->referencedBefore.assign(words, 0);
  auto keep = [&](const DecodedItem& item) {
    DecodedItem moved = item;
    moved.text = static_cast<uint32_t>(kept->texts.size());
    kept->texts.insert(kept->texts.end(), whole.texts.begin() + item.text,
                       whole.texts.begin() + item.text + item.textSize);
    kept->items.push_back(moved);
  };
  uint32_t unspelled = 0, references = 0;
  for (size_t i = 0; i < whole.items.size(); ++i) {
    const DecodedItem& item = whole.items[i];
    if (i >= leading) {
      keep(item);
      continue;
    }
    const size_t word = i / 64;
    const uint64_t bit = uint64_t{1} << (i % 64);
    if (bit == 1) {
      kept->unspelledBefore[word] = unspelled;
      kept->referencedBefore[word] = references;
    }
    const bool flag = item.flags & DecodedItem::kReference;
    if (flag) {
      kept->referenced[word] |= bit;
      ++references;
    }
    // Spelled out only if nothing of the item is lost: its text, and the group state and
    // reference that place() gives it.
    bool spelled =
        item.groupState == groupState && item.wordSize == length && item.textSize == length + 2 &&
        (groupState == 2 ? item.referenceCounter == static_cast<int32_t>(references)
                         : !flag && item.referenceCounter == static_cast<int32_t>(i + 1));
    const uint8_t* letters = whole.letters.data() + item.letters;
    for (int k = 0; spelled && k < length; ++k) {
      spelled = letters[k] < run && static_cast<uint8_t>(whole.texts[item.text + k]) ==
                                        static_cast<uint8_t>(letters[k] + base);
    }
    if (spelled) {
      kept->spelled[word] |= bit;
    } else {
      keep(item);
      ++unspelled;
    }
  }
  kept->letters = std::move(whole.letters);
  recording.reset();
  auto section = std::make_shared<DecodedSection>();
  section->complete = complete;
  section->items = kept->items;
  section->texts = kept->texts;
  section->letters = kept->letters;
  section->leadingEntries = leading;
  section->spelled = kept->spelled;
  section->referenced = kept->referenced;
  section->unspelledBefore = kept->unspelledBefore;
  section->referencedBefore = kept->referencedBefore;
  section->unspelledLeading = unspelled;
  section->leadingGroupState = groupState;
  section->heapBytes = kept->bytes();
  section->storage = std::move(kept);
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
