// Remembers, for one match of one entry, the states of an anagram part's sub-pattern placement that
// are known to fail, so that each state is explored once: the placement then takes time polynomial
// in the word's length rather than exponential in the number of sub-patterns.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace qel::pattern {

// The bytes that describe a placement state; a state too large to describe is not remembered.
class PlacementKey {
 public:
  static constexpr size_t kCapacity = 160;
  void add(uint8_t byte) {
    if (m_size < kCapacity) m_bytes[m_size] = byte;
    ++m_size;
    m_hash = (m_hash ^ byte) * 0x100000001B3ull;
  }
  bool usable() const { return m_size <= kCapacity; }
  const uint8_t* data() const { return m_bytes.data(); }
  size_t size() const { return m_size; }
  uint64_t hash() const { return m_hash ^ (m_hash >> 29); }

 private:
  std::array<uint8_t, kCapacity> m_bytes;  // the first m_size are set
  size_t m_size = 0;
  uint64_t m_hash = 0xCBF29CE484222325ull;
};

class PlacementMemo {
 public:
  // Forget everything: a new entry is being matched.
  void reset();
  bool knownFailure(const PlacementKey& key) const;
  void rememberFailure(const PlacementKey& key);

 private:
  struct Slot {
    uint32_t generation = 0;
    uint32_t size = 0;
    uint64_t hash = 0;
    std::array<uint8_t, PlacementKey::kCapacity> key;
  };
  // Direct-mapped; a collision only forgets.
  static constexpr size_t kSlots = 1 << 10;

  std::vector<Slot> m_slots;
  uint32_t m_generation = 1;
};

}  // namespace qel::pattern
