// The records of each pattern are the union of the reference lists of the entries and index terms
// it matches; the pattern set then decides each record from the patterns it holds words of.
#include "search/QCDictionaryDefinitionSearchIndexed.h"

#include <algorithm>
#include <iterator>

#include "dictionary/DefinitionReferences.h"
#include "dictionary/Dictionary.h"
#include "dictionary/EntryEnumerator.h"
#include "dictionary/QCDictionaryList.h"
#include "pattern/MatchEngineSet.h"
#include "pattern/PatternSplitter.h"

namespace qel {
namespace {

using Offsets = std::vector<uint32_t>;

// Lets the enumerator offer its items to one pattern of the set.
class SlotFilter : public EntryFilter {
 public:
  SlotFilter(MatchEngineSet& patterns, size_t slot) : m_patterns(patterns), m_slot(slot) {}
  bool accepts(const uint8_t* letters, int length, const char* text) override {
    return m_patterns.matchSlot(m_slot, letters, length, text);
  }

 private:
  MatchEngineSet& m_patterns;
  size_t m_slot;
};

// The records that hold a word of some pattern, each with the patterns whose words it holds: the
// pattern set decides each record as it decides a definition read word by word.
Offsets evaluateRecords(const MatchEngineSet& patterns, const std::vector<Offsets>& bySlot) {
  Offsets candidates;
  for (const Offsets& offsets : bySlot)
    candidates.insert(candidates.end(), offsets.begin(), offsets.end());
  std::sort(candidates.begin(), candidates.end());
  candidates.erase(std::unique(candidates.begin(), candidates.end()), candidates.end());
  std::vector<size_t> next(bySlot.size(), 0);
  std::vector<uint8_t> marked(bySlot.size(), 0);
  Offsets found;
  for (const uint32_t offset : candidates) {
    for (size_t slot = 0; slot < bySlot.size(); ++slot) {
      const Offsets& offsets = bySlot[slot];
      size_t& k = next[slot];
      while (k < offsets.size() && offsets[k] < offset) ++k;
      marked[slot] = k < offsets.size() && offsets[k] == offset;
    }
    if (patterns.evaluateGathered(marked)) found.push_back(offset);
  }
  return found;
}

}  // namespace

bool QCDictionaryDefinitionSearchIndexed::canAnswer(const MatchEngineSet& patterns) {
  if (patterns.empty() || !patterns.valid()) return false;
  for (size_t slot = 0; slot < patterns.slotCount(); ++slot) {
    if (patterns.operation(slot) & pattern::kNegate) return false;
    const MatchEngine* engine = patterns.engine(slot);
    if (!engine) continue;
    // The index holds each word once, by its letters: patterns that look at punctuation or at
    // the exact form of a character need the words as written.
    if (!engine->valid() || engine->minimumLength() != engine->maximumLength() ||
        engine->hasPunctuation() || engine->compiled().hasExactCharacters) {
      return false;
    }
  }
  return true;
}

QCDictionaryDefinitionSearchIndexed::QCDictionaryDefinitionSearchIndexed(
    const QCDictionaryList& list, int dictionaryNumber, MatchEngineSet& patterns, int64_t* fileTime)
    : m_dictionaryNumber(dictionaryNumber) {
  Dictionary& dictionary = list.dictionary(dictionaryNumber);
  if (fileTime) *fileTime = 0;
  if (!canAnswer(patterns) || !dictionary.recheck()) return;
  m_region2Start = dictionary.region2Start();
  m_definitionsEnd = dictionary.definitionsEnd();
  if (!search(list, patterns)) {
    m_offsets.clear();
    return;
  }
  m_retriever = std::make_unique<QCDictionaryDefinitionRetriever>(list, dictionaryNumber, fileTime);
  if (!m_retriever->isOpen()) {
    m_retriever.reset();
    m_offsets.clear();
  }
}

QCDictionaryDefinitionSearchIndexed::~QCDictionaryDefinitionSearchIndexed() = default;

bool QCDictionaryDefinitionSearchIndexed::search(const QCDictionaryList& list,
                                                 MatchEngineSet& patterns) {
  const Dictionary& dictionary = list.dictionary(m_dictionaryNumber);
  DefinitionReferences references(list, m_dictionaryNumber);
  EntryEnumerator enumerator(list, m_dictionaryNumber);
  if (!references.isOpen()) return false;

  std::vector<Offsets> bySlot(patterns.slotCount());
  for (size_t slot = 0; slot < patterns.slotCount(); ++slot) {
    const MatchEngine* engine = patterns.engine(slot);
    if (!engine) continue;  // a group bracket
    const int length = engine->minimumLength();
    // Index terms are written only for lengths that have entries: any other length is beyond
    // what the index knows.
    if (length >= dictionary.slotCount() || dictionary.entryCount()[length] == 0) return false;
    Offsets& current = bySlot[slot];
    if (enumerator.selectLength(length)) {
      SlotFilter filter(patterns, slot);
      for (;;) {
        const uint8_t* letters = enumerator.next(&filter);
        if (letters[0] == kEndOfLetters) {
          if (enumerator.groupState() == 1) continue;  // on through the index terms
          break;
        }
        const std::optional<int> number = enumerator.referenceNumber();
        if (number && !references.occurrences(length, *number, enumerator.groupState(), current)) {
          return false;  // a word too common to be listed
        }
      }
    }
    std::sort(current.begin(), current.end());
    current.erase(std::unique(current.begin(), current.end()), current.end());
  }
  m_offsets = evaluateRecords(patterns, bySlot);
  return true;
}

bool QCDictionaryDefinitionSearchIndexed::next(Definition& definition) {
  if (!m_retriever) return false;
  while (m_cursor < m_offsets.size()) {
    const uint32_t offset = m_offsets[m_cursor++];
    // Only records of the second region have their words indexed.
    if (offset < m_region2Start || offset >= m_definitionsEnd) continue;
    if (!m_retriever->read(offset, definition)) continue;
    definition.dictionaryNumber = m_dictionaryNumber;
    definition.entryText.clear();
    return true;
  }
  return false;
}

}  // namespace qel
