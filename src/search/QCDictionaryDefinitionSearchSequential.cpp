// Records are read from the second region through a 256 KB buffer. A body is matched where it
// lies in the buffer, still masked, through a table from masked byte to letter index; only a body
// that crosses the buffer's end is copied. Rich-text bodies are reduced to their text first, as
// the builder did when it indexed them, so both searches see the same words.
#include "search/QCDictionaryDefinitionSearchSequential.h"

#include <algorithm>
#include <cstring>

#include "definitions/RichTextPlain.h"
#include "dictionary/Dictionary.h"
#include "dictionary/FileFormat.h"
#include "dictionary/QCDictionaryList.h"
#include "pattern/MatchEngineSet.h"

namespace qel {
namespace {

constexpr uint8_t kMask = format::kDefinitionMask;

bool startsRichText(const uint8_t* body, size_t size) {
  static constexpr char kStart[] = "{\\rtf1";
  if (size < 6) return false;
  for (size_t i = 0; i < 6; ++i) {
    if ((body[i] ^ kMask) != static_cast<uint8_t>(kStart[i])) return false;
  }
  return true;
}

}  // namespace

QCDictionaryDefinitionSearchSequential::QCDictionaryDefinitionSearchSequential(
    const QCDictionaryList& list, int dictionaryNumber, MatchEngineSet& patterns, int64_t* fileTime)
    : m_patterns(patterns) {
  Dictionary& dictionary = list.dictionary(dictionaryNumber);
  const bool valid = dictionary.recheck();
  if (fileTime) *fileTime = dictionary.fileTime();
  const Alphabet& alphabet = dictionary.alphabet();
  for (int c = 0; c < 256; ++c) {
    m_plainLetter[c] = valid ? alphabet.letterIndex[c] : kNotALetter;
    m_maskedLetter[c ^ kMask] = m_plainLetter[c];
  }
  for (size_t slot = 0; slot < patterns.slotCount(); ++slot) {
    if (const MatchEngine* engine = patterns.engine(slot)) {
      m_patternSlots.push_back({slot, engine->minimumLength(), engine->maximumLength()});
    }
  }
  m_marked.assign(patterns.slotCount(), 0);
  if (!valid || patterns.empty() || !patterns.valid()) return;
  if (!m_file.open(dictionary)) return;
  m_start = dictionary.region2Start();
  m_end = std::min<uint64_t>(dictionary.definitionsEnd(), m_file.size());
  if (m_start >= m_end) {
    m_start = m_end = 0;
    return;
  }
  m_position = m_start;
  m_buffer.resize(kBufferSize);
  m_usable = true;
}

bool QCDictionaryDefinitionSearchSequential::fill() {
  if (m_position >= m_bufferStart && m_position < m_bufferStart + m_bufferSize) return true;
  if (m_position >= m_end) return false;
  const size_t want = static_cast<size_t>(std::min<uint64_t>(kBufferSize, m_end - m_position));
  m_bufferStart = m_position;
  m_bufferSize = m_file.readAt(m_position, m_buffer.data(), want);
  if (m_bufferSize == 0) m_end = m_position;  // the file ended early: so does the region
  return m_bufferSize > 0;
}

bool QCDictionaryDefinitionSearchSequential::readByte(uint8_t& byte) {
  if (!fill()) return false;
  byte = m_buffer[m_position - m_bufferStart];
  ++m_position;
  return true;
}

bool QCDictionaryDefinitionSearchSequential::readString(std::string* text) {
  while (fill()) {
    const uint8_t* from = m_buffer.data() + (m_position - m_bufferStart);
    const size_t available = m_bufferSize - (m_position - m_bufferStart);
    const void* stop = std::memchr(from, kMask, available);
    const size_t length = stop ? static_cast<const uint8_t*>(stop) - from : available;
    for (size_t i = 0; text && i < length && text->size() < kMaxHeading; ++i) {
      text->push_back(static_cast<char>(from[i] ^ kMask));
    }
    m_position += length;
    if (stop) {
      ++m_position;
      return true;
    }
  }
  return false;
}

const uint8_t* QCDictionaryDefinitionSearchSequential::readBody(size_t& size) {
  m_scratch.clear();
  while (fill()) {
    const uint8_t* from = m_buffer.data() + (m_position - m_bufferStart);
    const size_t available = m_bufferSize - (m_position - m_bufferStart);
    const void* stop = std::memchr(from, kMask, available);
    const size_t length = stop ? static_cast<const uint8_t*>(stop) - from : available;
    m_position += length + (stop ? 1 : 0);
    if (stop && m_scratch.empty()) {
      size = length;  // the whole body lies in the buffer
      return from;
    }
    m_scratch.append(reinterpret_cast<const char*>(from), length);
    if (stop) break;
  }
  size = m_scratch.size();
  return reinterpret_cast<const uint8_t*>(m_scratch.data());
}

bool QCDictionaryDefinitionSearchSequential::endWord(int letters) {
  m_word[letters] = kEndOfLetters;
  m_wordText[letters] = '\0';
  for (const PatternSlot& p : m_patternSlots) {
    if (m_marked[p.slot] || letters < p.shortest || letters > p.longest) continue;
    if (m_patterns.matchSlot(p.slot, m_word, letters, m_wordText)) {
      m_marked[p.slot] = 1;
      if (--m_unmatched == 0) return true;
    }
  }
  return false;
}

bool QCDictionaryDefinitionSearchSequential::scanWords(const uint8_t* text, size_t size,
                                                       const uint8_t* letterIndex, uint8_t unmask) {
  int letters = 0;
  for (size_t i = 0; i < size; ++i) {
    const uint8_t index = letterIndex[text[i]];
    if (index != kNotALetter) {
      if (letters == kMaxWordLetters) {
        if (endWord(letters)) return true;
        letters = 0;
      }
      m_word[letters] = index;
      m_wordText[letters] = static_cast<char>(text[i] ^ unmask);
      ++letters;
    } else if (letters > 0) {
      if (endWord(letters)) return true;
      letters = 0;
    }
  }
  return letters > 0 && endWord(letters);
}

bool QCDictionaryDefinitionSearchSequential::bodyMatches(const uint8_t* body, size_t size) {
  std::fill(m_marked.begin(), m_marked.end(), 0);
  m_unmatched = m_patternSlots.size();
  if (m_unmatched > 0) {
    if (startsRichText(body, size)) {
      std::string rich(size, '\0');
      for (size_t i = 0; i < size; ++i) rich[i] = static_cast<char>(body[i] ^ kMask);
      rtf::indexText(rich, m_plain);
      scanWords(reinterpret_cast<const uint8_t*>(m_plain.data()), m_plain.size(), m_plainLetter, 0);
    } else {
      scanWords(body, size, m_maskedLetter, kMask);
    }
  }
  return m_patterns.evaluateGathered(m_marked);
}

QCDictionaryDefinitionSearchSequential::Step QCDictionaryDefinitionSearchSequential::next(
    int budget) {
  if (!m_usable) {
    m_heading1.clear();
    return Step::Finished;
  }
  for (int k = 0; k < std::max(budget, 1); ++k) {
    if (m_position >= m_end) {
      m_heading1.clear();
      return Step::Finished;
    }
    const uint32_t offset = static_cast<uint32_t>(m_position);
    uint8_t pairs = 0;
    if (!readByte(pairs)) continue;  // the region ended: finished on the next round
    m_heading1.clear();
    m_heading2.clear();
    for (int i = 0; i < pairs; ++i) {
      if (!readString(i == 0 ? &m_heading1 : nullptr)) break;
      if (!readString(i == 0 ? &m_heading2 : nullptr)) break;
    }
    size_t size = 0;
    const uint8_t* body = readBody(size);
    if (bodyMatches(body, size)) {
      m_recordOffset = offset;
      return Step::Hit;
    }
  }
  return Step::BudgetUsed;
}

}  // namespace qel
