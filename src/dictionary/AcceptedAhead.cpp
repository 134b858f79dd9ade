#include "dictionary/AcceptedAhead.h"

#include <algorithm>

namespace qel {

AcceptedAhead::Next AcceptedAhead::next(const DecodedSection& section, EntryFilter& filter,
                                        int length, size_t from, size_t scanEnd) {
  // Another filter, or a replay that went back or past what was scanned: start again from here.
  if (&filter != m_filter || from < m_from || m_scanned < from) {
    m_begin = m_end = 0;
    m_scanned = from;
    m_filter = &filter;
  }
  m_from = from;
  while (m_begin != m_end && m_queue[m_begin % kCapacity] < from) ++m_begin;

  // A filter that keeps something of the entry it accepted last (an anagram's balance) is asked
  // for one entry at a time, so that what it keeps belongs to the entry handed out.
  const size_t capacity = filter.acceptsAlike() ? kCapacity : 1;
  const size_t stride = static_cast<size_t>(length) + 1;
  scanEnd = std::min(scanEnd, section.leadingEntries);
  while (m_end - m_begin < capacity && m_scanned < scanEnd) {
    const size_t count = scanEnd - m_scanned;
    const size_t k =
        filter.firstAccepted(section.letters.data() + m_scanned * stride, stride, count, length);
    if (k == count) {
      m_scanned = scanEnd;
      break;
    }
    const size_t found = m_scanned + k;
    m_queue[m_end++ % kCapacity] = found;
    __builtin_prefetch(&section.items[found]);
    m_scanned = found + 1;
  }
  if (m_end - m_begin > kTextDistance) {
    const DecodedItem& item = section.items[m_queue[(m_begin + kTextDistance) % kCapacity]];
    if (item.text < section.texts.size()) __builtin_prefetch(section.texts.data() + item.text);
  }
  if (m_begin == m_end) return {m_scanned, false};
  return {m_queue[m_begin % kCapacity], true};
}

}  // namespace qel
