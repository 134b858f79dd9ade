// Full-text search of a dictionary's definitions through its index: the entries and index terms
// that match each pattern lead, through their reference lists, to the records that contain them.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "dictionary/Definition.h"
#include "dictionary/QCDictionaryDefinitionRetriever.h"

namespace qel {

class MatchEngineSet;
class QCDictionaryList;

class QCDictionaryDefinitionSearchIndexed {
 public:
  // Runs the whole index search at once. `fileTime`, when given, receives the dictionary's
  // recorded last-write time. The index answers only pattern sets without "!" whose patterns
  // each match one length and read nothing but letters; a word too common to be listed, or a
  // length the index does not cover, leaves the search unusable too (search sequentially then).
  QCDictionaryDefinitionSearchIndexed(const QCDictionaryList& list, int dictionaryNumber,
                                      MatchEngineSet& patterns, int64_t* fileTime = nullptr);
  ~QCDictionaryDefinitionSearchIndexed();

  bool usable() const { return m_retriever != nullptr; }

  // Reads the next record found, in file order; false when there is none left.
  bool next(Definition& definition);
  // Records handed out so far (skipped ones included) and records found.
  size_t position() const { return m_cursor; }
  size_t total() const { return m_offsets.size(); }

  // Whether the index can answer `patterns` at all, before any file is read.
  static bool canAnswer(const MatchEngineSet& patterns);

 private:
  bool search(const QCDictionaryList& list, MatchEngineSet& patterns);

  int m_dictionaryNumber;
  uint32_t m_region2Start = 0;
  uint32_t m_definitionsEnd = 0;
  std::unique_ptr<QCDictionaryDefinitionRetriever> m_retriever;
  std::vector<uint32_t> m_offsets;  // ascending, no duplicates
  size_t m_cursor = 0;
};

}  // namespace qel
