// Reference tables are read in blocks of 128 values. The first lookup in the entry-group table of a
// length walks the whole table once and keeps where each group starts, so every later lookup is
// one seek. A table or list that points outside the file yields nothing more than it holds.
#include "dictionary/DefinitionReferences.h"

#include "dictionary/Dictionary.h"
#include "dictionary/FileFormat.h"
#include "dictionary/QCDictionaryList.h"

namespace qel {
namespace {

constexpr size_t kBlockValues = 128;

}  // namespace

DefinitionReferences::DefinitionReferences(const QCDictionaryList& list, int dictionaryNumber)
    : m_dictionary(list.dictionary(dictionaryNumber)) {
  if (m_dictionary.recheck()) m_file.open(m_dictionary);
}

bool DefinitionReferences::references(bool expand, int length, int referenceNumber, int groupState,
                                      std::vector<uint32_t>& offsets) {
  const uint32_t last = lastValue(length, referenceNumber, groupState, &offsets);
  if (last == format::kNotListed) return false;
  if (expand) expandList(last, offsets);
  return true;
}

bool DefinitionReferences::occurrences(int length, int referenceNumber, int groupState,
                                       std::vector<uint32_t>& offsets) {
  const uint32_t last = lastValue(length, referenceNumber, groupState, nullptr);
  if (last == format::kNotListed) return false;
  expandList(last, offsets);
  return true;
}

uint32_t DefinitionReferences::lastValue(int length, int referenceNumber, int groupState,
                                         std::vector<uint32_t>* records) {
  if (!m_file.isOpen() || length < 1 || length >= m_dictionary.slotCount() || referenceNumber < 0) {
    return 0;
  }
  if (groupState == 2) {
    uint32_t last = entryGroup(length, referenceNumber, records);
    if (last >= m_dictionary.region1Start() && last < m_dictionary.definitionsEnd()) {
      if (records) records->push_back(last);
      last = 0;
    }
    return last;
  }
  const uint32_t table = m_dictionary.indexTableOffset()[length];
  if (table == 0 || table == 0xFFFFFFFFu) return 0;  // the length has no index terms
  uint32_t value = 0;
  m_file.readValuesAt(table + 4ull * static_cast<uint32_t>(referenceNumber), &value, 1);
  return value;
}

uint32_t DefinitionReferences::entryGroup(int length, int number, std::vector<uint32_t>* records) {
  const uint64_t table = m_dictionary.entryReferenceOffset()[length];
  const uint64_t count = m_dictionary.entryReferenceCount()[length];
  const uint64_t end = table + 4 * count;
  if (table == 0 || count == 0 || end > m_file.size()) return 0;

  uint32_t block[kBlockValues];
  uint32_t last = 0;
  std::vector<uint32_t>& starts = m_dictionary.referenceGroupStarts(length);
  if (starts.empty()) {
    // Walk the whole table once: collect group `number` and note where every group starts.
    std::vector<uint32_t> found;
    std::vector<uint32_t> groupStarts{static_cast<uint32_t>(table)};
    int group = 0;
    for (uint64_t i = 0; i < count;) {
      const size_t want = count - i < kBlockValues ? static_cast<size_t>(count - i) : kBlockValues;
      if (m_file.readValuesAt(table + 4 * i, block, want) != want) return 0;
      for (size_t k = 0; k < want; ++k, ++i) {
        const uint32_t v = block[k];
        if (group == number) {
          if (v & format::kLastValueBit) {
            last = v & format::kValueMask;
          } else {
            found.push_back(v);
          }
        }
        if (v & format::kLastValueBit) {
          ++group;
          if (i + 1 < count) groupStarts.push_back(static_cast<uint32_t>(table + 4 * (i + 1)));
        }
      }
    }
    starts = std::move(groupStarts);
    if (records) records->insert(records->end(), found.begin(), found.end());
    return last;
  }

  if (static_cast<size_t>(number) >= starts.size()) return 0;
  for (uint64_t at = starts[number]; at < end;) {
    const uint64_t left = (end - at) / 4;
    const size_t want = left < kBlockValues ? static_cast<size_t>(left) : kBlockValues;
    const size_t got = m_file.readValuesAt(at, block, want);
    for (size_t k = 0; k < got; ++k) {
      if (block[k] & format::kLastValueBit) return block[k] & format::kValueMask;
      if (records) records->push_back(block[k]);
    }
    if (got < want) break;
    at += 4 * got;
  }
  return last;
}

void DefinitionReferences::expandList(uint32_t listOffset, std::vector<uint32_t>& offsets) {
  if (listOffset == 0 || listOffset == format::kNotListed) return;
  uint32_t block[kBlockValues];
  for (uint64_t at = listOffset;;) {
    const size_t got = m_file.readValuesAt(at, block, kBlockValues);
    for (size_t k = 0; k < got; ++k) {
      offsets.push_back(block[k] & format::kValueMask);
      if (block[k] & format::kLastValueBit) return;
    }
    if (got < kBlockValues) return;  // the end of the file ends an unterminated list
    at += 4 * got;
  }
}

bool references(const QCDictionaryList& list, int dictionaryNumber, bool expand, int length,
                int referenceNumber, int groupState, std::vector<uint32_t>& offsets) {
  DefinitionReferences reader(list, dictionaryNumber);
  return reader.references(expand, length, referenceNumber, groupState, offsets);
}

}  // namespace qel
