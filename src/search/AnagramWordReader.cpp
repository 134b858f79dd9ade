#include "search/AnagramWordReader.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "dictionary/Alphabet.h"
#include "dictionary/EntryEnumerator.h"
#include "dictionary/QCDictionaryList.h"
#include "pattern/MatchEngineSet.h"

namespace qel {

bool AnagramWordReader::LettersFilter::accepts(const uint8_t* letters, int length, const char*) {
  std::array<uint64_t, PackedLetters::kMaxWords> left;
  const std::span<const uint64_t> all = m_layout.all();
  std::copy(all.begin(), all.end(), left.begin());
  for (int i = 0; i < length; ++i) {
    if (!m_layout.take(left.data(), letters[i])) return false;
  }
  return true;
}

AnagramWordReader::AnagramWordReader(QCDictionaryList& list, int dictionary,
                                     const PackedLetters& layout, const Rules& rules,
                                     AnagramWordIndex& index)
    : m_list(list),
      m_dictionary(dictionary),
      m_alphabet(list.alphabet(dictionary)),
      m_layout(layout),
      m_rules(rules),
      m_index(index),
      m_filter(layout),
      m_enumerator(std::make_unique<EntryEnumerator>(list, dictionary)) {
  m_rules.shortest = std::max(m_rules.shortest, 1);
  m_rules.longest = std::min(m_rules.longest, list.slotCount(dictionary) - 1);
  for (int length = m_rules.shortest; length <= m_rules.longest; ++length) {
    m_total += list.entryCount(dictionary, length);
  }
  m_length = m_rules.shortest - 1;
}

AnagramWordReader::~AnagramWordReader() = default;

long AnagramWordReader::examined() const {
  return m_examinedBefore + (m_reading ? m_enumerator->entriesScanned() : 0);
}

bool AnagramWordReader::selectNextLength() {
  while (++m_length <= m_rules.longest) {
    const bool patternFits = !m_rules.pattern || m_rules.pattern->setCurrentLength(m_length);
    if (patternFits && m_enumerator->selectLength(m_length)) return true;
    m_examinedBefore += m_list.entryCount(m_dictionary, m_length);
  }
  return false;
}

bool AnagramWordReader::read(long& work) {
  while (work > 0) {
    if (!m_reading) {
      if (!selectNextLength()) return false;
      m_reading = true;
    }
    const long before = m_enumerator->entriesScanned();
    if (m_enumerator->replaying()) {
      // Many accepted entries in one call where the dictionary's decoded copy allows.
      constexpr size_t kCapacity = EntryEnumerator::kAcceptedCapacity;
      EntryEnumerator::AcceptedEntry accepted[kCapacity];
      const size_t count = m_enumerator->nextAccepted(&m_filter, accepted, kCapacity);
      for (size_t i = 0; i < count; ++i) consider(accepted[i].word);
      if (count > 0) {
        work -= std::max<long>(1, m_enumerator->entriesScanned() - before);
        continue;
      }
    }
    const uint8_t* letters = m_enumerator->nextBatch(&m_filter);
    work -= std::max<long>(1, m_enumerator->entriesScanned() - before);
    if (!letters) continue;  // its budget of rejected entries ran out
    if (letters[0] == kEndOfLetters) {
      m_examinedBefore += m_enumerator->entriesScanned();
      m_reading = false;
      // A file that changed under the reading ends it here; the search says so.
      if (m_enumerator->invalidated()) return false;
      continue;
    }
    consider(m_enumerator->word());
  }
  return true;
}

void AnagramWordReader::consider(std::string_view word) {
  // The letters again, from the text as the dictionary spells them: bulk reading gives no letters.
  uint8_t letters[EntryEnumerator::kLettersSize];
  char text[EntryEnumerator::kTextSize];
  if (word.size() >= sizeof text) return;
  int count = 0;
  bool lettersOnly = true;
  for (const char c : word) {
    const uint8_t letter = m_alphabet.letterIndex[static_cast<uint8_t>(c)];
    if (letter == kNotALetter) {
      lettersOnly = false;
      continue;
    }
    if (count >= m_length) return;  // more letters than its section says: not to be trusted
    letters[count++] = letter;
  }
  if (count != m_length || (!lettersOnly && !m_rules.phrases)) return;
  letters[count] = kEndOfLetters;
  std::memcpy(text, word.data(), word.size());
  text[word.size()] = '\0';
  if (m_rules.pattern && !m_rules.pattern->accepts(letters, count, text)) return;
  std::array<uint64_t, PackedLetters::kMaxWords> left, key;
  const std::span<const uint64_t> all = m_layout.all();
  std::copy(all.begin(), all.end(), left.begin());
  for (int i = 0; i < count; ++i) {
    if (!m_layout.take(left.data(), letters[i])) return;
  }
  for (size_t w = 0; w < all.size(); ++w) key[w] = all[w] - left[w];
  m_index.add(word, count, key.data());
}

}  // namespace qel
