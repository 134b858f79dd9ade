// Entries of a replayed section that a filter accepts, found a little ahead of the replay. An
// accepted entry's item and text lie far from its letters, so fetching them one entry at a time
// waits for memory twice per entry; asking for the next several together lets those waits overlap.
#pragma once

#include <cstddef>

#include "dictionary/DecodedSection.h"
#include "dictionary/EntryFilter.h"

namespace qel {

class AcceptedAhead {
 public:
  static constexpr size_t kCapacity = 16;
  // How far ahead of the replay entries are scanned at most, so that a batch's work stays bounded.
  static constexpr size_t kScanLimit = 4096;
  // How many found entries ahead of the next one have their texts asked for; their items were
  // asked for when they were found.
  static constexpr size_t kTextDistance = 8;

  void reset() {
    m_next = m_count = m_scanned = m_from = 0;
    m_filter = nullptr;
  }

  struct Next {
    size_t index;   // of the next accepted leading entry, or the first not scanned yet
    bool accepted;  // false: every leading entry from `from` up to `index` is rejected
  };
  // The next leading entry of `section` at or after `from` that `filter` accepts, scanning in bulk
  // with filter.acceptedAmong() up to entry `scanEnd` (at most a leading entry past the last,
  // and kScanLimit past `from`). The filter must not read the text.
  Next next(const DecodedSection& section, EntryFilter& filter, int length, size_t from,
            size_t scanEnd);

 private:
  size_t m_found[kCapacity];  // accepted entries found, m_next of them handed out
  size_t m_items[kCapacity];  // their items' indices (DecodedSection::itemIndex)
  size_t m_next = 0;
  size_t m_count = 0;
  size_t m_scanned = 0;  // leading entries before this one were scanned
  size_t m_from = 0;     // as last asked
  const EntryFilter* m_filter = nullptr;
  size_t m_capacity = 1;  // of m_found that the filter may fill
};

}  // namespace qel
