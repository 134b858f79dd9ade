#include "pattern/FixedLetterScan.h"

#include <algorithm>
#include <cstring>

namespace qel::pattern {

namespace {

uint64_t load64(const uint8_t* p) {
  uint64_t v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

}  // namespace

bool FixedLetterScan::prepare(const uint8_t (*checks)[2], int count) {
  m_windowCount = 0;
  m_reach = 0;
  // Bytes by position: a window covers the eight from its first checked position.
  uint8_t letters[256];
  bool checked[256] = {};
  for (int c = 0; c < count; ++c) {
    checked[checks[c][0]] = true;
    letters[checks[c][0]] = checks[c][1];
  }
  for (int position = 0; position < 256; ++position) {
    if (!checked[position]) continue;
    if (m_windowCount == kMaxWindows) return false;
    uint8_t mask[8] = {};
    uint8_t value[8] = {};
    for (int k = 0; k < 8 && position + k < 256; ++k) {
      if (!checked[position + k]) continue;
      mask[k] = 0xFF;
      value[k] = letters[position + k];
      checked[position + k] = false;
    }
    Window& w = m_windows[m_windowCount++];
    w.offset = static_cast<size_t>(position);
    std::memcpy(w.maskBytes, mask, 8);
    std::memcpy(w.valueBytes, value, 8);
    std::memcpy(&w.mask, mask, 8);
    std::memcpy(&w.value, value, 8);
    m_reach = std::max(m_reach, w.offset + 8);
  }
  return true;
}

bool FixedLetterScan::passesBytewise(const uint8_t* entry) const {
  for (int i = 0; i < m_windowCount; ++i) {
    const Window& w = m_windows[i];
    for (size_t k = 0; k < 8; ++k) {
      if (w.maskBytes[k] && entry[w.offset + k] != w.valueBytes[k]) return false;
    }
  }
  return true;
}

size_t FixedLetterScan::passing(const uint8_t* letters, size_t stride, size_t count, size_t* found,
                                size_t capacity) const {
  size_t n = 0;
  if (count == 0 || capacity == 0) return 0;
  if (m_windowCount == 0) {
    for (; n < capacity && n < count; ++n) found[n] = n;
    return n;
  }
  // Entries whose windows end inside the entries given are tested a window at a time; the last
  // few, whose windows would run past them, byte by byte. (Bounds by pointer: a division per call
  // would cost more than the scan between two accepted entries.)
  size_t k = 0;
  const uint8_t* entry = letters;
  const size_t total = count * stride;
  if (total >= m_reach) {
    const uint8_t* lastWide = letters + (total - m_reach);
    if (m_windowCount == 1) {
      const Window w = m_windows[0];
      auto passes = [&w](const uint8_t* e) { return (load64(e + w.offset) & w.mask) == w.value; };
      // Four entries to a branch: most are rejected.
      for (; lastWide - entry >= static_cast<ptrdiff_t>(3 * stride); k += 4, entry += 4 * stride) {
        const bool a = passes(entry), b = passes(entry + stride), c = passes(entry + 2 * stride),
                   d = passes(entry + 3 * stride);
        if (!(a | b | c | d)) continue;
        if (capacity - n >= 4) {
          // Without a branch per entry, whose outcome no predictor could guess.
          found[n] = k;
          n += a;
          found[n] = k + 1;
          n += b;
          found[n] = k + 2;
          n += c;
          found[n] = k + 3;
          n += d;
          if (n == capacity) return n;
          continue;
        }
        const bool pass[4] = {a, b, c, d};
        for (size_t i = 0; i < 4; ++i) {
          if (pass[i] && (found[n++] = k + i, n == capacity)) return n;
        }
      }
      for (; entry <= lastWide; ++k, entry += stride) {
        if (passes(entry) && (found[n++] = k, n == capacity)) return n;
      }
    } else {
      for (; entry <= lastWide; ++k, entry += stride) {
        int i = 0;
        while (i < m_windowCount &&
               (load64(entry + m_windows[i].offset) & m_windows[i].mask) == m_windows[i].value) {
          ++i;
        }
        if (i == m_windowCount && (found[n++] = k, n == capacity)) return n;
      }
    }
  }
  for (; k < count; ++k, entry += stride) {
    if (passesBytewise(entry) && (found[n++] = k, n == capacity)) return n;
  }
  return n;
}

}  // namespace qel::pattern
