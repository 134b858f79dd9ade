// Direct-mapped table of sequence outcomes, cleared by bumping a generation number.
#include "pattern/MatchMemo.h"

#include <cstring>

namespace qel::pattern {
namespace {

bool sameKey(const SequenceKey& a, const SequenceKey& b) {
  return a.start == b.start && a.position == b.position && a.extra == b.extra &&
         a.punctuation == b.punctuation && a.bindings == b.bindings;
}

}  // namespace

void MatchMemo::reset(size_t programSize) {
  size_t wanted = kMinSlots;
  while (wanted < kMaxSlots && wanted < programSize * 256) wanted *= 2;
  if (m_slots.size() < wanted) {
    m_slots.assign(wanted, Slot{});
    m_generation = 0;
  }
  if (++m_generation == 0) {
    for (Slot& slot : m_slots) slot.generation = 0;
    m_generation = 1;
  }
}

size_t MatchMemo::slotOf(const SequenceKey& key) const {
  uint64_t low = 0;
  uint16_t high = 0;
  std::memcpy(&low, key.bindings.data(), 8);
  std::memcpy(&high, key.bindings.data() + 8, 2);
  uint64_t h = static_cast<uint64_t>(key.start) * 0x9E3779B97F4A7C15ull;
  h ^= (static_cast<uint64_t>(key.position) << 8 | key.extra) * 0xC2B2AE3D27D4EB4Full;
  h ^= (key.punctuation | uint64_t{high} << 16) * 0x165667B19E3779F9ull;
  h ^= low * 0x27D4EB2F165667C5ull;
  h ^= h >> 29;
  return static_cast<size_t>(h * 0x94D049BB133111EBull >> 32) & (m_slots.size() - 1);
}

const SequenceOutcome* MatchMemo::find(const SequenceKey& key) const {
  if (m_slots.empty()) return nullptr;
  const Slot& slot = m_slots[slotOf(key)];
  if (slot.generation != m_generation || !sameKey(slot.key, key)) return nullptr;
  return &slot.outcome;
}

void MatchMemo::remember(const SequenceKey& key, const SequenceOutcome& outcome) {
  if (m_slots.empty()) return;
  Slot& slot = m_slots[slotOf(key)];
  slot.generation = m_generation;
  slot.key = key;
  slot.outcome = outcome;
}

}  // namespace qel::pattern
