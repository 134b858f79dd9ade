// A record is a plain pair count, then the two masked strings of each heading pair, then the
// masked body. Strings are read in blocks of 512 bytes and never beyond the definition regions.
#include "dictionary/QCDictionaryDefinitionRetriever.h"

#include <algorithm>
#include <cstring>

#include "dictionary/Dictionary.h"
#include "dictionary/FileFormat.h"
#include "dictionary/QCDictionaryList.h"

namespace qel {

QCDictionaryDefinitionRetriever::QCDictionaryDefinitionRetriever(const QCDictionaryList& list,
                                                                 int dictionaryNumber,
                                                                 int64_t* fileTime)
    : m_dictionary(list.dictionary(dictionaryNumber)) {
  Dictionary& dictionary = list.dictionary(dictionaryNumber);
  const bool valid = dictionary.recheck();
  if (fileTime) *fileTime = dictionary.fileTime();
  m_path = dictionary.path();
  if (valid && m_file.open(dictionary)) {
    m_end = std::min<uint64_t>(dictionary.definitionsEnd(), m_file.size());
  }
}

bool QCDictionaryDefinitionRetriever::readString(std::string& text) {
  char block[kBodyBlock];
  while (m_position < m_end) {
    const size_t want = static_cast<size_t>(std::min<uint64_t>(kBodyBlock, m_end - m_position));
    const size_t got = m_file.readAt(m_position, block, want);
    if (got == 0) break;
    const void* stop = std::memchr(block, format::kDefinitionMask, got);
    const size_t length = stop ? static_cast<const char*>(stop) - block : got;
    const size_t start = text.size();
    text.append(block, length);
    for (size_t i = start; i < text.size(); ++i)
      text[i] ^= static_cast<char>(format::kDefinitionMask);
    if (stop) {
      m_position += length + 1;
      return true;
    }
    m_position += got;
    if (got < want) break;
  }
  m_position = m_end;
  return false;
}

bool QCDictionaryDefinitionRetriever::read(uint32_t recordOffset, Definition& definition) {
  if (!m_file.isOpen() || recordOffset < m_dictionary.region1Start() || recordOffset >= m_end) {
    return false;
  }
  definition.dictionaryPath = m_path;
  definition.recordOffset = recordOffset;
  definition.firstTexts.clear();
  definition.secondTexts.clear();
  definition.body.clear();

  uint8_t pairs = 0;
  if (m_file.readAt(recordOffset, &pairs, 1) != 1) return true;
  m_position = recordOffset + 1;
  for (int i = 0; i < pairs; ++i) {
    definition.firstTexts.emplace_back();
    definition.secondTexts.emplace_back();
    readString(definition.firstTexts.back());
    if (!readString(definition.secondTexts.back())) break;
  }
  readString(definition.body);
  return true;
}

}  // namespace qel
