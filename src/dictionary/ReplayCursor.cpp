// Stepping through a decoded section: items copied out, entries spelled out from their letters,
// and the checks that keep every read inside the section.
#include "dictionary/ReplayCursor.h"

#include <algorithm>
#include <cstring>

#include "dictionary/EntryFilter.h"
#include "platform/Cp1252.h"

namespace qel {

namespace {

// Copies `size` bytes from `from` at `offset` (inside it) to a buffer of at least 32 bytes. Most
// items are short: a copy of a constant 32 bytes is two moves, where a copy of any size costs a
// string instruction's start-up on every item.
template <typename Byte, typename Source>
void copyShort(Byte* to, std::span<const Source> from, size_t offset, size_t size) {
  constexpr size_t kChunk = 32;
  if (size <= kChunk && from.size() - offset >= kChunk) {
    std::memcpy(to, from.data() + offset, kChunk);
  } else {
    std::memcpy(to, from.data() + offset, size);
  }
}

}  // namespace

void ReplayCursor::start(std::shared_ptr<const DecodedSection> section, int length,
                         uint8_t spellBase) {
  m_section = std::move(section);
  m_length = length;
  m_next = 0;
  m_cursor = {};
  m_spellBase = spellBase;
  m_ahead.reset();
  m_lettersChecked = m_section && m_section->lettersUnchecked ? 0 : SIZE_MAX;
  m_lettersUnsound = false;
}

ReplayCursor::Step ReplayCursor::next(CurrentItem& out) {
  const DecodedSection& section = *m_section;
  // Past the part kept (the groups after the first), the file takes over from the same item.
  if (m_next >= section.positions()) return section.complete ? Step::kEnd : Step::kToFile;
  const size_t stride = static_cast<size_t>(m_length) + 1;
  const DecodedSection::Place place = section.place(m_next, m_cursor);
  const size_t index = place.item;
  const char* text = replayedText(m_next, index, out.text);
  if (!text) {
    if (section.damaged) section.damaged();
    return Step::kToFile;
  }
  if (index == DecodedSection::kSpelledOut) {
    out.wordSize = m_length;
    out.groupState = section.leadingGroupState;
    out.referenceFlag = place.referenceFlag;
    out.referenceCounter = place.referenceCounter;
    copyShort(out.letters, section.letters, m_next * stride, stride);
    ++m_next;
    return Step::kItem;
  }
  const DecodedItem& item = section.items[index];
  ++m_next;
  copyShort(out.text, section.texts, item.text, item.textSize);
  out.text[item.textSize - 2] = out.text[item.textSize - 1] = 0;
  out.wordSize = item.wordSize;
  out.text[out.wordSize] = 0;
  out.groupState = item.groupState;
  out.referenceCounter = item.referenceCounter;
  out.referenceFlag = (item.flags & DecodedItem::kReference) ? 1 : 0;
  if (item.flags & DecodedItem::kGroupEnd) {
    out.letters[0] = kEndOfLetters;
  } else {
    copyShort(out.letters, section.letters, item.letters, stride);
  }
  return Step::kItem;
}

const char* ReplayCursor::replayedText(size_t position, size_t index, char* spelled) {
  const DecodedSection& section = *m_section;
  if (index == DecodedSection::kSpelledOut) {
    const size_t stride = static_cast<size_t>(m_length) + 1;
    if (!lettersCheckedTo((position + 1) * stride)) return nullptr;
    spellOut(position * stride, spelled);
    return spelled;
  }
  if (index == DecodedSection::kNoItem || !itemSound(section.items[index], position))
    return nullptr;
  return section.texts.data() + section.items[index].text;
}

void ReplayCursor::spellOut(size_t at, char* text) const {
  const std::span<const uint8_t> from = m_section->letters;
  const uint8_t* letters = from.data() + at;
  constexpr size_t kChunk = 32;
  if (from.size() - at >= kChunk) {
    // One addition over a whole block, which compiles to a few vector instructions.
    uint8_t word[kChunk];
    std::memcpy(word, letters, kChunk);
    for (uint8_t& c : word) c = static_cast<uint8_t>(c + m_spellBase);
    std::memcpy(text, word, kChunk);
  } else {
    for (int k = 0; k < m_length; ++k) text[k] = static_cast<char>(letters[k] + m_spellBase);
  }
  text[m_length] = text[m_length + 1] = 0;
}

bool ReplayCursor::itemSound(const DecodedItem& item, size_t position) {
  const DecodedSection& section = *m_section;
  const bool groupEnd = item.flags & DecodedItem::kGroupEnd;
  const size_t stride = static_cast<size_t>(m_length) + 1;
  // An entry's letters lie where an entry's letters begin (where its place puts them, for a
  // leading one), inside letters that were checked: they hold no end mark, and one follows them.
  const bool placed = position < section.leadingEntries
                          ? !groupEnd && item.letters == position * stride
                          : groupEnd || item.letters % stride == 0;
  return placed && section.fits(item, m_length, CurrentItem::kTextSize) &&
         (groupEnd || lettersCheckedTo(item.letters + stride));
}

bool ReplayCursor::checkLettersTo(size_t end) {
  const DecodedSection& section = *m_section;
  const size_t stride = static_cast<size_t>(m_length) + 1;
  const size_t leadingBytes = section.leadingEntries * stride;
  // A chunk found unsound stays so: it is not read again for every batch.
  if (m_lettersUnsound) return false;
  while (m_lettersChecked < end) {
    // Leading entries a chunk at a time; the rest, if any, at once.
    const size_t to = m_lettersChecked < leadingBytes
                          ? std::min(leadingBytes, m_lettersChecked + kLetterCheckChunk * stride)
                          : section.letters.size();
    if (to <= m_lettersChecked ||
        !lettersSound(section.letters.subspan(m_lettersChecked, to - m_lettersChecked),
                      section.alphabetTotal, m_length)) {
      m_lettersUnsound = true;
      return false;
    }
    m_lettersChecked = to;
  }
  return true;
}

std::optional<AcceptedAhead::Found> ReplayCursor::scanAhead(EntryFilter& filter) {
  const DecodedSection& section = *m_section;
  const size_t scanEnd = std::min(section.leadingEntries, m_next + AcceptedAhead::kScanLimit);
  if (!lettersCheckedTo(scanEnd * (static_cast<size_t>(m_length) + 1))) return std::nullopt;
  return m_ahead.next(section, filter, m_length, m_next, scanEnd);
}

int ReplayCursor::skipRejected(EntryFilter& filter, int budget, char* spelled, bool& accepted) {
  const DecodedSection& section = *m_section;
  const size_t first = m_next;
  const size_t end = std::min(section.positions(), first + static_cast<size_t>(budget));
  const size_t stride = static_cast<size_t>(m_length) + 1;
  size_t i = first;
  if (i < section.leadingEntries && !filter.readsText()) {
    // The leading entries in bulk, from their letters alone. Letters that fail their check are
    // left to next(), which hands over to the file.
    const std::optional<AcceptedAhead::Found> found = scanAhead(filter);
    if (!found) return 0;
    const bool any = !found->entries.empty();
    const size_t next = any ? found->entries.front() : found->scanned;
    i = std::min(next, end);
    m_next = i;
    if (any && next < end) {
      accepted = true;
      return static_cast<int>(i - first);
    }
    if (i < section.leadingEntries || i == end) return static_cast<int>(i - first);
  }
  // An item the filter reads must lie inside the section; a group end or anything else is left to
  // next().
  for (; i < end; ++i) {
    const DecodedSection::Cursor before = m_cursor;
    const size_t index = section.place(i, m_cursor).item;
    if (index < section.items.size() && (section.items[index].flags & DecodedItem::kGroupEnd)) {
      break;
    }
    const char* text = replayedText(i, index, spelled);
    if (!text) break;
    const uint8_t* letters = index == DecodedSection::kSpelledOut
                                 ? section.letters.data() + i * stride
                                 : section.letters.data() + section.items[index].letters;
    if (filter.accepts(letters, m_length, text)) {
      accepted = true;
      m_cursor = before;  // next() takes this entry from where it was
      break;
    }
    if (filter.halted()) {
      ++i;
      break;
    }
  }
  m_next = i;
  return static_cast<int>(i - first);
}

size_t ReplayCursor::takeAccepted(EntryFilter* filter, AcceptedEntry* accepted, size_t capacity,
                                  int budget) {
  const DecodedSection& section = *m_section;
  const size_t first = m_next;
  capacity = std::min(capacity, kAcceptedCapacity);
  size_t n = 0;
  // Hands out the entry at `position`, whose item is `index`; false at damage, which is left for
  // next() to meet at the same entry.
  auto handOut = [&](size_t position, size_t index) {
    const char* text = replayedText(position, index, m_spelled[n]);
    if (!text) return false;
    AcceptedEntry& entry = accepted[n++];
    if (index == DecodedSection::kSpelledOut) {
      entry = {std::string_view(text, static_cast<size_t>(m_length)), {}};
    } else {
      // As next() reads it: the word, then an annotation ended by a NUL inside the text.
      const DecodedItem& item = section.items[index];
      const size_t from = size_t{item.wordSize} + 1;
      const size_t end = size_t{item.textSize} - 2;  // fits() saw room for the two NULs
      const size_t room = end > from ? end - from : 0;
      entry = {std::string_view(text, item.wordSize),
               std::string_view(text + from, strnlen(text + from, room))};
    }
    m_next = position + 1;
    return true;
  };
  // Rejected entries count against the budget; the scan ahead may pass it by one window.
  while (n < capacity && m_next < section.leadingEntries &&
         m_next - first - n < static_cast<size_t>(budget)) {
    if (!filter) {
      if (!handOut(m_next, section.itemIndex(m_next))) break;
      continue;
    }
    const std::optional<AcceptedAhead::Found> found = scanAhead(*filter);
    if (!found) break;  // unsound letters: next() hands over to the file
    if (found->entries.empty()) {
      m_next = found->scanned;
      continue;
    }
    size_t k = 0;
    while (k < found->entries.size() && n < capacity &&
           handOut(found->entries[k], found->items[k])) {
      ++k;
    }
    if (k < found->entries.size() && n < capacity) break;  // damage
  }
  return n;
}

size_t ReplayCursor::takeWordLines(char*& out, size_t room, bool wordsOnly, bool ascii) {
  const DecodedSection& section = *m_section;
  const size_t stride = static_cast<size_t>(m_length) + 1;
  const char* const end = out + room;
  const size_t first = m_next;
  // Kept in locals through the loop: the members, written one field at a time and read back
  // whole, would stall every entry.
  size_t next = m_next;
  DecodedSection::Cursor cursor = m_cursor;
  char* to = out;
  while (next < section.leadingEntries && static_cast<size_t>(end - to) >= kLineRoom) {
    // The cursor counts the items passed, so that no entry counts bits.
    const DecodedSection::Cursor before = cursor;
    const size_t index = section.place(next, cursor).item;
    const bool spelled = index == DecodedSection::kSpelledOut;
    if (spelled && ascii && lettersCheckedTo((next + 1) * stride) &&
        section.letters.size() - next * stride >= 32) {
      // The letters and their end mark a block at a time, as spellOut() does; the end mark's
      // place takes the newline.
      uint8_t block[32];
      std::memcpy(block, section.letters.data() + next * stride, sizeof block);
      for (uint8_t& c : block) c = static_cast<uint8_t>(c + m_spellBase);
      std::memcpy(to, block, sizeof block);
      to[m_length] = '\n';
      to += stride;
      ++next;
      continue;
    }
    const char* text = replayedText(next, index, m_spelled[0]);
    // Past damage, or an annotation to keep: next() takes this entry from where it was.
    if (!text || (!wordsOnly && !spelled &&
                  section.items[index].textSize > section.items[index].wordSize + 2)) {
      cursor = before;
      break;
    }
    const size_t word = spelled ? static_cast<size_t>(m_length) : section.items[index].wordSize;
    to = cp1252::writeUtf8(std::string_view(text, word), to);
    *to++ = '\n';
    ++next;
  }
  m_next = next;
  m_cursor = cursor;
  out = to;
  if (next != first) m_ahead.reset();
  return next - first;
}

}  // namespace qel
