// Finds the first of many entries, laid out a fixed stride apart, whose letters at given positions
// are given letters: what a template or an affix asks of each entry. The checks are gathered into
// a few 8-byte windows, so that an entry costs one masked compare per window instead of a loop
// over its positions.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qel::pattern {

class FixedLetterScan {
 public:
  static constexpr int kMaxWindows = 4;

  // From `count` (position, letter) pairs; false (and the scan unusable) when they need more than
  // kMaxWindows windows.
  bool prepare(const uint8_t (*checks)[2], int count);

  // Up to `capacity` of `count` entries, `stride` bytes apart from `letters`, that pass every
  // check: their indices, in order, into `found`; returns how many. Reads nothing outside the
  // count * stride bytes from `letters`.
  size_t passing(const uint8_t* letters, size_t stride, size_t count, size_t* found,
                 size_t capacity) const;
  // The first of them, or `count`.
  size_t firstPassing(const uint8_t* letters, size_t stride, size_t count) const {
    size_t first = count;
    passing(letters, stride, count, &first, 1);
    return first;
  }

 private:
  struct Window {
    size_t offset = 0;  // of the window's first byte in an entry
    uint64_t mask = 0;  // the bytes checked, in memory order
    uint64_t value = 0;
    uint8_t maskBytes[8] = {};  // the same, byte by byte, for entries too near the end to load
    uint8_t valueBytes[8] = {};
  };
  bool passesBytewise(const uint8_t* entry) const;

  Window m_windows[kMaxWindows];
  int m_windowCount = 0;
  size_t m_reach = 0;  // bytes from an entry's start that its windows read
};

}  // namespace qel::pattern
