#include "dictionary/AcceptedAhead.h"

#include <algorithm>

namespace qel {

AcceptedAhead::Found AcceptedAhead::next(const DecodedSection& section, EntryFilter& filter,
                                         int length, size_t from, size_t scanEnd) {
  // Another filter, or a replay that went back or past what was scanned: start again from here.
  if (&filter != m_filter || from < m_from || m_scanned < from) {
    m_next = m_count = 0;
    m_scanned = from;
    m_filter = &filter;
    // A filter that keeps something of the entry it accepted last (an anagram's balance) is asked
    // for one entry at a time, so that what it keeps belongs to the entry handed out.
    m_capacity = filter.acceptsAlike() ? kCapacity : 1;
  }
  m_from = from;
  while (m_next < m_count && m_found[m_next] < from) ++m_next;
  scanEnd = std::min(scanEnd, section.leadingEntries);
  if (m_next == m_count && m_scanned < scanEnd) {
    const size_t stride = static_cast<size_t>(length) + 1;
    m_count = filter.acceptedAmong(section.letters.data() + m_scanned * stride, stride,
                                   scanEnd - m_scanned, length, m_found, m_capacity);
    m_next = 0;
    for (size_t i = 0; i < m_count; ++i) {
      m_found[i] += m_scanned;
      // An entry spelled out needs nothing but its letters.
      m_items[i] = section.itemIndex(m_found[i]);
      if (m_items[i] < section.items.size()) __builtin_prefetch(&section.items[m_items[i]]);
    }
    m_scanned = m_count == m_capacity ? m_found[m_count - 1] + 1 : scanEnd;
  }
  if (m_next + kTextDistance < m_count) {
    const size_t item = m_items[m_next + kTextDistance];
    if (item < section.items.size() && section.items[item].text < section.texts.size()) {
      __builtin_prefetch(section.texts.data() + section.items[item].text);
    }
  }
  const size_t left = m_count - m_next;
  return {std::span<const size_t>(m_found + m_next, left),
          std::span<const size_t>(m_items + m_next, left), m_scanned};
}

}  // namespace qel
