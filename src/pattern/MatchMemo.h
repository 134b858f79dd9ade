// Remembers, for one match of one entry, the outcome of each sequence attempt, so that patterns
// with many wildcards or nested variable sub-patterns are matched in polynomial time. A matched
// outcome is only reused for programs whose sequences change nothing but variable bindings (part
// of key and outcome); a failure, which changes nothing, is reused for every program.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace qel::pattern {

struct SequenceKey {
  uintptr_t start = 0;  // where the sequence starts: in the program or a sub-pattern's own
  uint8_t position = 0;
  uint8_t extra = 0;
  uint16_t punctuation = 0;
  std::array<uint8_t, 10> bindings{};
};

struct SequenceOutcome {
  bool matched = false;
  uint32_t next = 0;       // program offset after the sequence's end
  uint16_t endOffset = 0;  // non-letters passed at its end
  std::array<uint8_t, 10> bindings{};
};

class MatchMemo {
 public:
  // Forget everything (a new entry is being matched); the table grows with the program, which
  // bounds how many sequence attempts there can be.
  void reset(size_t programSize);
  // The outcome of an earlier attempt with this key, or null.
  const SequenceOutcome* find(const SequenceKey& key) const;
  void remember(const SequenceKey& key, const SequenceOutcome& outcome);

 private:
  struct Slot {
    uint32_t generation = 0;
    SequenceKey key;
    SequenceOutcome outcome;
  };
  // Direct-mapped; a collision only forgets.
  static constexpr size_t kMinSlots = 1 << 10;
  static constexpr size_t kMaxSlots = 1 << 15;
  size_t slotOf(const SequenceKey& key) const;

  std::vector<Slot> m_slots;
  uint32_t m_generation = 0;
};

}  // namespace qel::pattern
