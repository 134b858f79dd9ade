// Reads definition records of one dictionary: heading pairs and body, each a masked string.
#pragma once

#include <cstdint>
#include <string>

#include "dictionary/Definition.h"
#include "dictionary/DefinitionFile.h"

namespace qel {

class Dictionary;
class QCDictionaryList;

class QCDictionaryDefinitionRetriever {
 public:
  static constexpr size_t kBodyBlock = 512;

  // Re-checks the dictionary and opens its file. `fileTime`, when given, receives the dictionary's
  // recorded last-write time after the re-check (0 for an invalid dictionary), which callers keep
  // to notice later that the file has changed.
  QCDictionaryDefinitionRetriever(const QCDictionaryList& list, int dictionaryNumber,
                                  int64_t* fileTime = nullptr);

  // False when the dictionary is invalid or its file could not be opened: nothing can be read.
  bool isOpen() const { return m_file.isOpen(); }

  // Fills `definition` from the record at `recordOffset`: dictionary path, record offset, heading
  // pairs and body. A record cut short keeps what was read. False, leaving `definition` as it
  // was, when there is no file or the offset lies outside the definition regions.
  bool read(uint32_t recordOffset, Definition& definition);

 private:
  // Reads one masked string at m_position, stopping at its end or at the end of the regions.
  // False when the regions ended before the string did.
  bool readString(std::string& text);

  const Dictionary& m_dictionary;
  std::string m_path;
  DefinitionFile m_file;
  uint64_t m_position = 0;
  uint64_t m_end = 0;  // end of the definition regions, within the file
};

}  // namespace qel
