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
  // The first of `count` entries of `length` letters, `stride` bytes apart, that the filter
  // accepts, or `count` when it accepts none. Only for a filter that does not read the text.
  virtual size_t firstAccepted(const uint8_t* letters, size_t stride, size_t count, int length) {
    for (size_t k = 0; k < count; ++k, letters += stride) {
      if (accepts(letters, length, "")) return k;
    }
    return count;
  }
  // Whether the filter keeps nothing of the entry it accepted last that a caller may ask for, so
  // that entries firstAccepted() found may be handed out after later ones were found.
  virtual bool acceptsAlike() const { return false; }
  // Up to `capacity` of the `count` entries (laid out as for firstAccepted) that the filter
  // accepts: their indices, in order, into `found`; returns how many. When `capacity` are found,
  // the scan ends at the last of them. A capacity above 1 only for a filter that accepts alike.
  virtual size_t acceptedAmong(const uint8_t* letters, size_t stride, size_t count, int length,
                               size_t* found, size_t capacity) {
    return collectAccepted(count, found, capacity, [&](size_t from) {
      return from + firstAccepted(letters + from * stride, stride, count - from, length);
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
