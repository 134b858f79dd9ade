// Decoding of entry bit streams into items, the hand-over between replay and the file, and the
// recording of a section as it is decoded.
#include "dictionary/EntryEnumerator.h"

#include <algorithm>
#include <cstring>

#include "dictionary/Dictionary.h"
#include "dictionary/QCDictionaryList.h"

namespace qel {

EntryEnumerator::EntryEnumerator(const QCDictionaryList& list, int dictionaryNumber)
    : EntryEnumerator(list.dictionary(dictionaryNumber)) {}

EntryEnumerator::EntryEnumerator(Dictionary& dictionary)
    : m_dictionary(dictionary), m_reader(dictionary) {
  std::memset(m_item.letters, 0, sizeof m_item.letters);
  std::memset(m_item.text, 0, sizeof m_item.text);
  m_item.letters[0] = kEndOfLetters;
}

EntryEnumerator::~EntryEnumerator() = default;

bool EntryEnumerator::readAgain() const {
  return m_dictionary.generation() != m_reader.generation();
}

bool EntryEnumerator::selectLength(int length) {
  m_replay.start(m_dictionary.decodedSection(length), length,
                 static_cast<uint8_t>(m_dictionary.alphabet().character[0]));
  m_recording.reset();
  if (m_replay.active()) {
    m_length = length;
    m_entriesScanned = 0;
    m_ended = false;
    m_reader.reset();
    std::memset(m_item.letters, 0, sizeof m_item.letters);
    std::memset(m_item.text, 0, sizeof m_item.text);
    m_item.wordSize = 0;
    m_item.letters[length] = kEndOfLetters;
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
  m_item.referenceCounter = 0;
  m_item.referenceFlag = 0;
  m_item.groupState = m_dictionary.version() > 0 ? 2 : 0;
  m_ended = false;
  m_reader.start(length);
  std::memset(m_item.letters, 0, sizeof m_item.letters);
  std::memset(m_item.text, 0, sizeof m_item.text);
  m_item.wordSize = 0;
  if (length >= 0 && length < kLettersSize) m_item.letters[length] = kEndOfLetters;
  if (!m_reader.hasOpenFile()) m_ended = true;
  return m_reader.hasOpenFile();
}

const uint8_t* EntryEnumerator::endOfStream() {
  keepRecording(true);
  m_replay.stop();
  m_item.letters[0] = kEndOfLetters;
  m_reader.skipToEnd();
  // Nothing more can be read from this section: no caller waiting for a later group may loop.
  m_ended = true;
  m_item.groupState = -1;
  return m_item.letters;
}

// A stream that ends, or holds what the builder never writes, before its last group's end: the file
// was cut short or damaged where the checks at opening could not see it. Not one entry more is
// read from it, and the dictionary says why.
const uint8_t* EntryEnumerator::damagedStream() {
  const int lastGroupState = m_dictionary.version() > 0 ? 1 : 0;
  if (m_item.groupState >= lastGroupState && !readAgain()) {
    m_dictionary.markDamaged();
    m_reader.invalidate();
  }
  return endOfStream();
}

const uint8_t* EntryEnumerator::decodeItem() {
  if (m_replay.active()) return replayItem();
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
      if (symbols[0] < 0) return damagedStream();
    }
    bool ended = false;
    for (int k = 0; k < count; ++k) {
      const int s = symbols[k];
      // Longer than any item the builder writes: the stream is corrupt.
      if (t >= kTextSize - 2) return damagedStream();
      if (s == 0) {
        ended = true;
        break;
      }
      if (s == '\n') {
        if (collecting) m_item.wordSize = t;
        m_item.text[t++] = 0;
        collecting = false;
        continue;
      }
      m_item.text[t++] = static_cast<char>(s);
      if (collecting) {
        const uint8_t index = alphabet.letterIndex[s];
        if (index != kNotALetter) {
          if (letterCount >= format::kMaxEntryLength) return damagedStream();
          m_item.letters[letterCount++] = index;
        }
      }
    }
    if (ended) break;
  }
  m_reader.resume(window);
  if (collecting) m_item.wordSize = t;
  m_item.text[t] = 0;
  m_item.text[t + 1] = 0;

  if (letterCount == 0 && collecting) {
    m_item.letters[0] = kEndOfLetters;
    m_item.referenceCounter = 0;
    m_item.referenceFlag = 1;
    --m_item.groupState;
    if (m_recording) {
      recordItem(0, t + 2, true);
      // A word search stops at the first group's end: what it decoded is what the next one needs.
      keepRecording(false);
    }
    return m_item.letters;
  }
  // Every item of section L has exactly L letters; anything else is corrupt.
  if (letterCount != m_length) return damagedStream();
  m_item.letters[letterCount] = kEndOfLetters;

  if (m_item.groupState == 2) {
    const int flag = m_reader.readBit();
    if (flag < 0) return damagedStream();
    m_item.referenceFlag = flag;
    m_item.referenceCounter += m_item.referenceFlag;
  } else {
    ++m_item.referenceCounter;
  }
  if (m_recording) recordItem(letterCount, t + 2, false);
  return m_item.letters;
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
  item.referenceCounter = m_item.referenceCounter;
  item.textSize = static_cast<uint16_t>(textSize);
  item.wordSize = static_cast<uint16_t>(m_item.wordSize);
  item.groupState = static_cast<int8_t>(m_item.groupState);
  item.flags = static_cast<uint8_t>((groupEnd ? DecodedItem::kGroupEnd : 0) |
                                    (m_item.referenceFlag ? DecodedItem::kReference : 0));
  section.items.push_back(item);
  const size_t texts = section.texts.size();
  section.texts.resize(texts + textSize);
  std::memcpy(section.texts.data() + texts, m_item.text, textSize);
  if (groupEnd) return;
  // With the end mark, so that a filter can read the letters where they are kept.
  const size_t letters = section.letters.size();
  section.letters.resize(letters + letterCount + 1);
  std::memcpy(section.letters.data() + letters, m_item.letters, letterCount + 1);
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
  return !m_replay.active() && m_recording;
}

const uint8_t* EntryEnumerator::replayItem() {
  if (readAgain()) {
    m_reader.invalidate();
    return endOfStream();
  }
  switch (m_replay.next(m_item)) {
    case ReplayCursor::Step::kItem:
      return m_item.letters;
    case ReplayCursor::Step::kEnd:
      m_ended = true;
      return endOfStream();
    case ReplayCursor::Step::kToFile:
      break;
  }
  return decodeFromFileAt(m_replay.position());
}

const uint8_t* EntryEnumerator::decodeFromFileAt(size_t item) {
  m_replay.stop();
  const int scanned = m_entriesScanned;
  startSection(m_length);
  for (size_t i = 0; i < item && !m_ended; ++i) decodeItem();
  m_entriesScanned = scanned;
  return decodeItem();
}

const uint8_t* EntryEnumerator::next(EntryFilter* filter) {
  for (;;) {
    const uint8_t* letters = decodeItem();
    if (letters[0] == kEndOfLetters) return letters;
    if (!filter || filter->accepts(letters, m_length, m_item.text)) return letters;
  }
}

const uint8_t* EntryEnumerator::nextBatch(EntryFilter* filter) {
  int decoded = 0;
  // Entries kept decoded are tested where they lie; only the one accepted is copied out.
  m_replayAccepted = false;
  if (m_replay.active() && filter && !readAgain()) {
    decoded = m_replay.skipRejected(*filter, kBatchBudget, m_item.text, m_replayAccepted);
  }
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
    if (!filter || (accepted && m_replay.active()) ||
        filter->accepts(letters, m_length, m_item.text)) {
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
  if (!m_replay.active() || readAgain() ||
      (filter && (filter->readsText() || !filter->acceptsAlike()))) {
    return 0;
  }
  const size_t first = m_replay.position();
  const size_t n = m_replay.takeAccepted(filter, accepted, capacity, kBatchBudget);
  m_entriesScanned += static_cast<int>(m_replay.position() - first);
  return n;
}

size_t EntryEnumerator::nextWordLines(char*& out, size_t room, bool wordsOnly) {
  if (!m_replay.active() || readAgain()) return 0;
  const size_t n =
      m_replay.takeWordLines(out, room, wordsOnly, spellsAscii(m_dictionary.alphabet()));
  m_entriesScanned += static_cast<int>(n);
  return n;
}

const char* EntryEnumerator::annotation() const {
  const char* second = m_item.text + m_item.wordSize + 1;
  return *second ? second : nullptr;
}

std::optional<int> EntryEnumerator::referenceNumber() const {
  if (m_item.referenceFlag) return m_item.referenceCounter - 1;
  return std::nullopt;
}

}  // namespace qel
