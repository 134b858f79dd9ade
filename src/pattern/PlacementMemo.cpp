// Direct-mapped table of failed placement states, cleared by bumping a generation number.
#include "pattern/PlacementMemo.h"

#include <algorithm>

namespace qel::pattern {

void PlacementMemo::reset() {
  if (++m_generation == 0) {
    for (Slot& slot : m_slots) slot.generation = 0;
    m_generation = 1;
  }
}

bool PlacementMemo::knownFailure(const PlacementKey& key) const {
  if (m_slots.empty() || !key.usable()) return false;
  const uint64_t h = key.hash();
  const Slot& slot = m_slots[h & (kSlots - 1)];
  return slot.generation == m_generation && slot.hash == h && slot.size == key.size() &&
         std::equal(key.data(), key.data() + key.size(), slot.key.begin());
}

void PlacementMemo::rememberFailure(const PlacementKey& key) {
  if (!key.usable()) return;
  if (m_slots.empty()) m_slots.resize(kSlots);
  const uint64_t h = key.hash();
  Slot& slot = m_slots[h & (kSlots - 1)];
  slot.generation = m_generation;
  slot.hash = h;
  slot.size = static_cast<uint32_t>(key.size());
  std::copy(key.data(), key.data() + key.size(), slot.key.begin());
}

}  // namespace qel::pattern
