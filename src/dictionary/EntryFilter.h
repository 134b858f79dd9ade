// What an enumerator asks of a compiled pattern: does this decoded entry pass? The pattern engine
// implements it; a null filter accepts every entry.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qel {

class EntryFilter {
 public:
  virtual ~EntryFilter() = default;
  // letters: the entry's letter indices followed by 0xFF; length: how many letters;
  // text: the entry's display text (word part), NUL-terminated, in code page 1252.
  virtual bool accepts(const uint8_t* letters, int length, const char* text) = 0;

  // Whether accepts() looks at the text; a filter that does not can test entries in bulk.
  virtual bool readsText() const { return true; }
  // Whether the filter keeps nothing of the entry it accepted last that a caller may ask for, so
  // that entries found in bulk may be handed out after later ones were found.
  virtual bool acceptsAlike() const { return false; }
  // Whether the filter has used up the work it was given: an enumeration then stops after the
  // entry it just rejected, as when its own budget runs out, and goes on from the next when asked.
  virtual bool halted() const { return false; }
  // Up to `capacity` of `count` entries of `length` letters, `stride` bytes apart, that the filter
  // accepts: their indices, in order, into `found`; returns how many. When `capacity` are found,
  // the scan ends at the last of them. Only for a filter that does not read the text, and a
  // capacity above 1 only for one that accepts alike.
  virtual size_t acceptedAmong(const uint8_t* letters, size_t stride, size_t count, int length,
                               size_t* found, size_t capacity) {
    return collectAccepted(count, found, capacity, [&](size_t from) {
      for (; from < count; ++from) {
        if (accepts(letters + from * stride, length, "")) return from;
      }
      return count;
    });
  }

 protected:
  // The loop of acceptedAmong() over `first`, which gives the first accepted entry at or after
  // `from`, or `count`.
  template <typename First>
  static size_t collectAccepted(size_t count, size_t* found, size_t capacity, First first) {
    size_t n = 0;
    for (size_t from = 0; n < capacity && from < count;) {
      const size_t k = first(from);
      if (k >= count) break;
      found[n++] = k;
      from = k + 1;
    }
    return n;
  }
};

}  // namespace qel
