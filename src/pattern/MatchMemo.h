// Remembers, for one match of one entry, the sequence attempts that failed, so that patterns with
// many wildcards are matched in polynomial time. Only used for programs whose sequences have no
// side effects besides variable bindings (which are part of the key).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace qel::pattern {

struct SequenceKey {
  uint32_t offset;  // program offset of the sequence
  uint8_t position;
  uint8_t extra;
  uint16_t punctuation;
  uint8_t bindings[10];
};

class MatchMemo {
 public:
  // Forget everything (a new entry is being matched).
  void reset();
  bool knownToFail(const SequenceKey& key) const;
  void rememberFailure(const SequenceKey& key);

 private:
  struct Slot {
    uint32_t generation = 0;
    SequenceKey key{};
  };
  static constexpr size_t kSlots = 4096;  // direct-mapped; a collision only forgets
  size_t slotOf(const SequenceKey& key) const;

  std::vector<Slot> m_slots;
  uint32_t m_generation = 0;
};

}  // namespace qel::pattern
