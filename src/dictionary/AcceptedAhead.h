// Entries of a replayed section that a filter accepts, found a little ahead of the replay. An
// accepted entry's item and text lie far from its letters, so fetching them one entry at a time
// waits for memory twice per entry; asking for the next several together lets those waits overlap.
#pragma once

#include <cstddef>
#include <span>

#include "dictionary/DecodedSection.h"
#include "dictionary/EntryFilter.h"

namespace qel {

class AcceptedAhead {
 public:
  static constexpr size_t kCapacity = 32;
  // How far ahead of the replay entries are scanned at most, so that a batch's work stays bounded.
  static constexpr size_t kScanLimit = 4096;
  // How many found entries ahead of the first handed out have their texts asked for; their items
  // were asked for when they were found.
  static constexpr size_t kTextDistance = 8;

  void reset() {
    m_next = m_count = m_scanned = m_from = 0;
    m_filter = nullptr;
  }

  struct Found {
    // Leading entries the filter accepts, in order, and their items (DecodedSection::itemIndex).
    std::span<const size_t> entries;
    std::span<const size_t> items;
    // When `entries` is empty: every leading entry from `from` up to this one is rejected.
    size_t scanned;
  };
  // The leading entries of `section` at or after `from` that `filter` accepts, those of one batch:
  // found in bulk with filter.acceptedAmong(), scanning up to entry `scanEnd` (at most a leading
  // entry past the last, and kScanLimit past `from`). The filter must not read the text. What is
  // handed out stays valid until the next call.
  Found next(const DecodedSection& section, EntryFilter& filter, int length, size_t from,
             size_t scanEnd);

 private:
  size_t m_found[kCapacity];  // accepted entries found, those before m_next handed out
  size_t m_items[kCapacity];  // their items' indices
  size_t m_next = 0;
  size_t m_count = 0;
  size_t m_scanned = 0;  // leading entries before this one were scanned
  size_t m_from = 0;     // as last asked
  const EntryFilter* m_filter = nullptr;
  size_t m_capacity = 1;  // of m_found that the filter may fill
};

}  // namespace qel
