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

size_t FixedLetterScan::firstPassing(const uint8_t* letters, size_t stride, size_t count) const {
  if (count == 0) return 0;
  if (m_windowCount == 0) return 0;
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
        if (a | b | c | d) return k + (a ? 0 : b ? 1 : c ? 2 : 3);
      }
      for (; entry <= lastWide; ++k, entry += stride) {
        if (passes(entry)) return k;
      }
    } else {
      for (; entry <= lastWide; ++k, entry += stride) {
        int i = 0;
        while (i < m_windowCount &&
               (load64(entry + m_windows[i].offset) & m_windows[i].mask) == m_windows[i].value) {
          ++i;
        }
        if (i == m_windowCount) return k;
      }
    }
  }
  for (; k < count; ++k, entry += stride) {
    if (passesBytewise(entry)) return k;
  }
  return count;
}

}  // namespace qel::pattern
