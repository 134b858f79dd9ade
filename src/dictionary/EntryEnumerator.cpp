// Decoding of entry bit streams into items, the replay of decoded sections, and the recording of a
// section as it is decoded.
#include "dictionary/EntryEnumerator.h"

#include <algorithm>
#include <cstring>

#include "dictionary/Dictionary.h"
#include "dictionary/QCDictionaryList.h"

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

EntryEnumerator::EntryEnumerator(const QCDictionaryList& list, int dictionaryNumber)
    : EntryEnumerator(list.dictionary(dictionaryNumber)) {}

EntryEnumerator::EntryEnumerator(Dictionary& dictionary)
    : m_dictionary(dictionary), m_reader(dictionary) {
  std::memset(m_letters, 0, sizeof m_letters);
  std::memset(m_text, 0, sizeof m_text);
  m_letters[0] = kEndOfLetters;
}

EntryEnumerator::~EntryEnumerator() = default;

bool EntryEnumerator::readAgain() const {
  return m_dictionary.generation() != m_reader.generation();
}

bool EntryEnumerator::selectLength(int length) {
  m_replay = m_dictionary.decodedSection(length);
  m_replayNext = 0;
  m_cursor = {};
  m_spellBase = static_cast<uint8_t>(m_dictionary.alphabet().character[0]);
  m_ahead.reset();
  m_lettersChecked = m_replay && m_replay->lettersUnchecked ? 0 : SIZE_MAX;
  m_lettersUnsound = false;
  m_recording.reset();
  if (m_replay) {
    m_length = length;
    m_entriesScanned = 0;
    m_ended = false;
    m_reader.reset();
    std::memset(m_letters, 0, sizeof m_letters);
    std::memset(m_text, 0, sizeof m_text);
    m_wordSize = 0;
    m_letters[length] = kEndOfLetters;
    return true;
  }
  m_recorded.reset();
  if ((decodedSectionBudget() > 0 || m_recordAlways) && length > 0 &&
      length < m_dictionary.slotCount()) {
    // Sized for the section's entries, so that recording costs the decoding little.
    const size_t entries = m_dictionary.entryCount()[length];
    m_recording = std::make_shared<SectionRecording>();
    m_recording->items.reserve(entries + 2);
    m_recording->letters.reserve(entries * (length + 1));
    m_recording->texts.reserve(entries * (length + 4));
  }
  return startSection(length);
}

bool EntryEnumerator::startSection(int length) {
  m_length = length;
  m_entriesScanned = 0;
  m_referenceCounter = 0;
  m_referenceFlag = 0;
  m_groupState = m_dictionary.version() > 0 ? 2 : 0;
  m_ended = false;
  m_reader.start(length);
  std::memset(m_letters, 0, sizeof m_letters);
  std::memset(m_text, 0, sizeof m_text);
  m_wordSize = 0;
  if (length >= 0 && length < kLettersSize) m_letters[length] = kEndOfLetters;
  if (!m_reader.hasOpenFile()) m_ended = true;
  return m_reader.hasOpenFile();
}

const uint8_t* EntryEnumerator::endOfStream() {
  keepRecording(true);
  m_replay.reset();
  m_letters[0] = kEndOfLetters;
  m_reader.skipToEnd();
  // Nothing more can be read from this section: no caller waiting for a later group may loop.
  m_ended = true;
  m_groupState = -1;
  return m_letters;
}

const uint8_t* EntryEnumerator::decodeItem() {
  if (m_replay) return replayItem();
  if (m_ended) return endOfStream();
  // Read again (a paused search resumed after the file changed): the codes in hand are the old
  // file's.
  if (readAgain()) {
    m_reader.invalidate();
    return endOfStream();
  }
  const Alphabet& alphabet = m_dictionary.alphabet();
  int letterCount = 0;
  int t = 0;
  bool collecting = true;
  // The reader's bits live in locals here: stores into the text buffer may alias any member, which
  // would otherwise be reloaded after every character.
  SectionBitReader::Window window = m_reader.window();
  const DecodingTable& decoder = m_dictionary.decoder();
  for (;;) {
    int symbols[2] = {0, 0};
    int count = SectionBitReader::decodePair(window, decoder, symbols);
    if (count == 0) {
      m_reader.resume(window);
      symbols[0] = m_reader.decodeSymbolSlow();
      count = 1;
      window = m_reader.window();
      if (symbols[0] < 0) return endOfStream();
    }
    bool ended = false;
    for (int k = 0; k < count; ++k) {
      const int s = symbols[k];
      // Longer than any item the builder writes: the stream is corrupt.
      if (t >= kTextSize - 2) return endOfStream();
      if (s == 0) {
        ended = true;
        break;
      }
      if (s == '\n') {
        if (collecting) m_wordSize = t;
        m_text[t++] = 0;
        collecting = false;
        continue;
      }
      m_text[t++] = static_cast<char>(s);
      if (collecting) {
        const uint8_t index = alphabet.letterIndex[s];
        if (index != kNotALetter) {
          if (letterCount >= format::kMaxEntryLength) return endOfStream();
          m_letters[letterCount++] = index;
        }
      }
    }
    if (ended) break;
  }
  m_reader.resume(window);
  if (collecting) m_wordSize = t;
  m_text[t] = 0;
  m_text[t + 1] = 0;

  if (letterCount == 0 && collecting) {
    m_letters[0] = kEndOfLetters;
    m_referenceCounter = 0;
    m_referenceFlag = 1;
    --m_groupState;
    if (m_recording) {
      recordItem(0, t + 2, true);
      // A word search stops at the first group's end: what it decoded is what the next one needs.
      keepRecording(false);
    }
    return m_letters;
  }
  // Every item of section L has exactly L letters; anything else is corrupt.
  if (letterCount != m_length) return endOfStream();
  m_letters[letterCount] = kEndOfLetters;

  if (m_groupState == 2) {
    const int flag = m_reader.readBit();
    if (flag < 0) return endOfStream();
    m_referenceFlag = flag;
    m_referenceCounter += m_referenceFlag;
  } else {
    ++m_referenceCounter;
  }
  if (m_recording) recordItem(letterCount, t + 2, false);
  return m_letters;
}

void EntryEnumerator::recordItem(int letterCount, int textSize, bool groupEnd) {
  SectionRecording& section = *m_recording;
  // A section too large for the budget is not worth recording to the end.
  if (!m_recordAlways && section.bytes() > decodedSectionBudget()) {
    m_recording.reset();
    return;
  }
  DecodedItem item;
  item.text = static_cast<uint32_t>(section.texts.size());
  item.letters = static_cast<uint32_t>(section.letters.size());
  item.referenceCounter = m_referenceCounter;
  item.textSize = static_cast<uint16_t>(textSize);
  item.wordSize = static_cast<uint16_t>(m_wordSize);
  item.groupState = static_cast<int8_t>(m_groupState);
  item.flags = static_cast<uint8_t>((groupEnd ? DecodedItem::kGroupEnd : 0) |
                                    (m_referenceFlag ? DecodedItem::kReference : 0));
  section.items.push_back(item);
  const size_t texts = section.texts.size();
  section.texts.resize(texts + textSize);
  std::memcpy(section.texts.data() + texts, m_text, textSize);
  if (groupEnd) return;
  // With the end mark, so that a filter can read the letters where they are kept.
  const size_t letters = section.letters.size();
  section.letters.resize(letters + letterCount + 1);
  std::memcpy(section.letters.data() + letters, m_letters, letterCount + 1);
}

// A section decoded from its start to its natural end, in a file that did not change meanwhile,
// is kept for the next enumerations.
void EntryEnumerator::keepRecording(bool complete) {
  std::shared_ptr<SectionRecording> recording = std::move(m_recording);
  if (!recording || m_reader.invalidated() || readAgain()) return;
  auto section =
      SectionRecording::finish(std::move(recording), complete, m_length, m_dictionary.alphabet());
  if (m_recordAlways) {
    m_recorded = std::move(section);
  } else {
    m_dictionary.keepDecodedSection(m_length, std::move(section));
  }
}

std::shared_ptr<const DecodedSection> EntryEnumerator::decodeSection(Dictionary& dictionary,
                                                                     int length) {
  if (auto kept = dictionary.decodedSection(length)) return kept;
  EntryEnumerator e(dictionary);
  e.m_recordAlways = true;
  if (!e.startRecordedSection(length)) return nullptr;
  // To the first group's end, where a word search stops; an empty section ends at once.
  for (;;) {
    const uint8_t* letters = e.decodeItem();
    if (letters[0] == kEndOfLetters) break;
  }
  if (e.invalidated()) return nullptr;
  return std::move(e.m_recorded);
}

bool EntryEnumerator::startRecordedSection(int length) {
  if (!selectLength(length)) return false;
  return !m_replay && m_recording;
}

const uint8_t* EntryEnumerator::replayItem() {
  if (readAgain()) {
    m_reader.invalidate();
    return endOfStream();
  }
  const DecodedSection& section = *m_replay;
  if (m_replayNext >= section.positions()) {
    if (section.complete) {
      m_ended = true;
      return endOfStream();
    }
    // Past the part kept (the groups after the first): the file takes over from the same item.
    return decodeFromFileAt(m_replayNext);
  }
  const size_t stride = static_cast<size_t>(m_length) + 1;
  const DecodedSection::Place place = section.place(m_replayNext, m_cursor);
  const size_t index = place.item;
  const char* text = replayedText(m_replayNext, index, m_text);
  if (!text) return leaveDamagedReplay();
  if (index == DecodedSection::kSpelledOut) {
    m_wordSize = m_length;
    m_groupState = section.leadingGroupState;
    m_referenceFlag = place.referenceFlag;
    m_referenceCounter = place.referenceCounter;
    copyShort(m_letters, section.letters, m_replayNext * stride, stride);
    ++m_replayNext;
    return m_letters;
  }
  const DecodedItem& item = section.items[index];
  ++m_replayNext;
  copyShort(m_text, section.texts, item.text, item.textSize);
  m_text[item.textSize - 2] = m_text[item.textSize - 1] = 0;
  m_wordSize = item.wordSize;
  m_text[m_wordSize] = 0;
  m_groupState = item.groupState;
  m_referenceCounter = item.referenceCounter;
  m_referenceFlag = (item.flags & DecodedItem::kReference) ? 1 : 0;
  if (item.flags & DecodedItem::kGroupEnd) {
    m_letters[0] = kEndOfLetters;
  } else {
    copyShort(m_letters, section.letters, item.letters, stride);
  }
  return m_letters;
}

const char* EntryEnumerator::replayedText(size_t position, size_t index, char* spelled) {
  const DecodedSection& section = *m_replay;
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

void EntryEnumerator::spellOut(size_t at, char* text) const {
  const std::span<const uint8_t> from = m_replay->letters;
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

bool EntryEnumerator::itemSound(const DecodedItem& item, size_t position) {
  const DecodedSection& section = *m_replay;
  const bool groupEnd = item.flags & DecodedItem::kGroupEnd;
  const size_t stride = static_cast<size_t>(m_length) + 1;
  // An entry's letters lie where an entry's letters begin (where its place puts them, for a
  // leading one), inside letters that were checked: they hold no end mark, and one follows them.
  const bool placed = position < section.leadingEntries
                          ? !groupEnd && item.letters == position * stride
                          : groupEnd || item.letters % stride == 0;
  return placed && section.fits(item, m_length, kTextSize) &&
         (groupEnd || lettersCheckedTo(item.letters + stride));
}

bool EntryEnumerator::checkLettersTo(size_t end) {
  const DecodedSection& section = *m_replay;
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

const uint8_t* EntryEnumerator::leaveDamagedReplay() {
  if (m_replay->damaged) m_replay->damaged();
  return decodeFromFileAt(m_replayNext);
}

const uint8_t* EntryEnumerator::decodeFromFileAt(size_t item) {
  m_replay.reset();
  m_ahead.reset();
  const int scanned = m_entriesScanned;
  startSection(m_length);
  for (size_t i = 0; i < item && !m_ended; ++i) decodeItem();
  m_entriesScanned = scanned;
  return decodeItem();
}

std::optional<AcceptedAhead::Found> EntryEnumerator::scanAhead(EntryFilter& filter) {
  const DecodedSection& section = *m_replay;
  const size_t scanEnd = std::min(section.leadingEntries, m_replayNext + AcceptedAhead::kScanLimit);
  if (!lettersCheckedTo(scanEnd * (static_cast<size_t>(m_length) + 1))) return std::nullopt;
  return m_ahead.next(section, filter, m_length, m_replayNext, scanEnd);
}

int EntryEnumerator::skipRejectedReplayItems(EntryFilter& filter, int budget) {
  if (readAgain()) return 0;
  const DecodedSection& section = *m_replay;
  const size_t first = m_replayNext;
  const size_t end = std::min(section.positions(), first + static_cast<size_t>(budget));
  const size_t stride = static_cast<size_t>(m_length) + 1;
  size_t i = first;
  if (i < section.leadingEntries && !filter.readsText()) {
    // The leading entries in bulk, from their letters alone. Letters that fail their check are
    // left to replayItem(), which hands over to the file.
    const std::optional<AcceptedAhead::Found> found = scanAhead(filter);
    if (!found) return 0;
    const bool accepted = !found->entries.empty();
    const size_t next = accepted ? found->entries.front() : found->scanned;
    i = std::min(next, end);
    m_replayNext = i;
    if (accepted && next < end) {
      m_replayAccepted = true;
      return static_cast<int>(i - first);
    }
    if (i < section.leadingEntries || i == end) return static_cast<int>(i - first);
  }
  // An item the filter reads must lie inside the section; a group end or anything else is left to
  // replayItem(). An entry spelled out is spelled into the text buffer, which holds nothing yet.
  for (; i < end; ++i) {
    const DecodedSection::Cursor before = m_cursor;
    const size_t index = section.place(i, m_cursor).item;
    if (index < section.items.size() && (section.items[index].flags & DecodedItem::kGroupEnd)) {
      break;
    }
    const char* text = replayedText(i, index, m_text);
    if (!text) break;
    const uint8_t* letters = index == DecodedSection::kSpelledOut
                                 ? section.letters.data() + i * stride
                                 : section.letters.data() + section.items[index].letters;
    if (filter.accepts(letters, m_length, text)) {
      m_replayAccepted = true;
      m_cursor = before;  // replayItem() takes this entry from where it was
      break;
    }
    if (filter.halted()) {
      ++i;
      break;
    }
  }
  m_replayNext = i;
  return static_cast<int>(i - first);
}

const uint8_t* EntryEnumerator::next(EntryFilter* filter) {
  for (;;) {
    const uint8_t* letters = decodeItem();
    if (letters[0] == kEndOfLetters) return letters;
    if (!filter || filter->accepts(letters, m_length, m_text)) return letters;
  }
}

const uint8_t* EntryEnumerator::nextBatch(EntryFilter* filter) {
  int decoded = 0;
  // Entries kept decoded are tested where they lie; only the one accepted is copied out.
  m_replayAccepted = false;
  if (m_replay && filter) decoded = skipRejectedReplayItems(*filter, kBatchBudget);
  if (filter && !m_replayAccepted && filter->halted()) {
    m_entriesScanned += decoded;
    return nullptr;
  }
  for (; decoded < kBatchBudget; ++decoded) {
    const bool accepted = m_replayAccepted;
    m_replayAccepted = false;
    const uint8_t* letters = decodeItem();
    if (letters[0] == kEndOfLetters) {
      m_entriesScanned += decoded;
      return letters;
    }
    // An item accepted in place counts only if it came from the replay (not the file, after
    // damage was found).
    if (!filter || (accepted && m_replay) || filter->accepts(letters, m_length, m_text)) {
      m_entriesScanned += decoded + 1;
      return letters;
    }
    if (filter->halted()) {
      m_entriesScanned += decoded + 1;
      return nullptr;
    }
  }
  m_entriesScanned += kBatchBudget;
  return nullptr;
}

size_t EntryEnumerator::nextAccepted(EntryFilter* filter, AcceptedEntry* accepted,
                                     size_t capacity) {
  if (!m_replay || readAgain() || (filter && (filter->readsText() || !filter->acceptsAlike()))) {
    return 0;
  }
  const DecodedSection& section = *m_replay;
  const size_t first = m_replayNext;
  capacity = std::min(capacity, kAcceptedCapacity);
  size_t n = 0;
  // Hands out the entry at `position`, whose item is `index`; false at damage, which is left for
  // replayItem() to meet at the same entry.
  auto handOut = [&](size_t position, size_t index) {
    const char* text = replayedText(position, index, m_spelled[n]);
    if (!text) return false;
    AcceptedEntry& entry = accepted[n++];
    if (index == DecodedSection::kSpelledOut) {
      entry = {std::string_view(text, static_cast<size_t>(m_length)), {}};
    } else {
      // As replayItem() reads it: the word, then an annotation ended by a NUL inside the text.
      const DecodedItem& item = section.items[index];
      const size_t from = size_t{item.wordSize} + 1;
      const size_t end = size_t{item.textSize} - 2;  // fits() saw room for the two NULs
      const size_t room = end > from ? end - from : 0;
      entry = {std::string_view(text, item.wordSize),
               std::string_view(text + from, strnlen(text + from, room))};
    }
    m_replayNext = position + 1;
    return true;
  };
  // Rejected entries count against the budget; the scan ahead may pass it by one window.
  while (n < capacity && m_replayNext < section.leadingEntries &&
         m_replayNext - first - n < static_cast<size_t>(kBatchBudget)) {
    if (!filter) {
      if (!handOut(m_replayNext, section.itemIndex(m_replayNext))) break;
      continue;
    }
    const std::optional<AcceptedAhead::Found> found = scanAhead(*filter);
    if (!found) break;  // unsound letters: replayItem() hands over to the file
    if (found->entries.empty()) {
      m_replayNext = found->scanned;
      continue;
    }
    size_t k = 0;
    while (k < found->entries.size() && n < capacity &&
           handOut(found->entries[k], found->items[k])) {
      ++k;
    }
    if (k < found->entries.size() && n < capacity) break;  // damage
  }
  m_entriesScanned += static_cast<int>(m_replayNext - first);
  return n;
}

const char* EntryEnumerator::annotation() const {
  const char* second = m_text + m_wordSize + 1;
  return *second ? second : nullptr;
}

std::optional<int> EntryEnumerator::referenceNumber() const {
  if (m_referenceFlag) return m_referenceCounter - 1;
  return std::nullopt;
}

}  // namespace qel
