// The reference values of an entry or an index term: the definition records that define an entry,
// and the reference list of the records whose text contains a word.
#pragma once

#include <cstdint>
#include <vector>

#include "dictionary/DefinitionFile.h"

namespace qel {

class Dictionary;
class QCDictionaryList;

class DefinitionReferences {
 public:
  // Re-checks the dictionary and opens its file; when either fails, every lookup finds nothing.
  DefinitionReferences(const QCDictionaryList& list, int dictionaryNumber);

  bool isOpen() const { return m_file.isOpen(); }

  // Appends the record offsets of one item (the entry's own records; with `expand`, also those of
  // its word's reference list) to `offsets`. `referenceNumber` and `groupState` are the
  // enumerator's for the item: group state 2 for an entry, anything else for an index term.
  // False only when the item's word occurs too often to be listed.
  bool references(bool expand, int length, int referenceNumber, int groupState,
                  std::vector<uint32_t>& offsets);

  // Appends only the records whose text contains the item's word (its reference list), leaving
  // out the records that define an entry. False when the word occurs too often to be listed.
  bool occurrences(int length, int referenceNumber, int groupState, std::vector<uint32_t>& offsets);

 private:
  // The item's last reference value: a reference list offset, kNotListed, or 0 for none. Record
  // offsets of the item, the last one included, go to `records` when it is not null.
  uint32_t lastValue(int length, int referenceNumber, int groupState,
                     std::vector<uint32_t>* records);
  uint32_t entryGroup(int length, int referenceNumber, std::vector<uint32_t>* records);
  void expandList(uint32_t listOffset, std::vector<uint32_t>& offsets);

  Dictionary& m_dictionary;
  DefinitionFile m_file;
};

// One-off form of DefinitionReferences::references.
bool references(const QCDictionaryList& list, int dictionaryNumber, bool expand, int length,
                int referenceNumber, int groupState, std::vector<uint32_t>& offsets);

}  // namespace qel
