#include "dictionary/DefinitionFile.h"

#include "dictionary/ByteOrder.h"
#include "dictionary/Dictionary.h"
#include "platform/FileAccess.h"

namespace qel {

bool DefinitionFile::open(Dictionary& dictionary, size_t bufferSize) {
  close();
  int error = 0;
  FileIdentity identity;
  m_file = openRegularFile(dictionary.path(), error, &identity);
  if (!m_file) return false;
  if (!dictionary.valid() || identity != dictionary.identity()) {
    dictionary.invalidate();
    close();
    return false;
  }
  m_dictionary = &dictionary;
  if (bufferSize > 0) {
    m_buffer = new char[bufferSize];
    std::setvbuf(m_file, m_buffer, _IOFBF, bufferSize);
  }
  long size = -1;
  if (std::fseek(m_file, 0, SEEK_END) == 0) size = std::ftell(m_file);
  if (size < 0 || std::fseek(m_file, 0, SEEK_SET) != 0) {
    close();
    return false;
  }
  m_size = static_cast<uint64_t>(size);
  m_position = 0;
  return true;
}

void DefinitionFile::close() {
  if (m_file) std::fclose(m_file);
  m_file = nullptr;
  m_dictionary = nullptr;
  delete[] m_buffer;
  m_buffer = nullptr;
  m_size = m_position = 0;
}

size_t DefinitionFile::readAt(uint64_t offset, void* buffer, size_t count) {
  if (!m_file || offset >= m_size) return 0;
  if (count > m_size - offset) count = static_cast<size_t>(m_size - offset);
  if (offset != m_position) {
    if (std::fseek(m_file, static_cast<long>(offset), SEEK_SET) != 0) {
      m_position = m_size;  // unknown: the next read seeks again
      return 0;
    }
  }
  const size_t got = std::fread(buffer, 1, count, m_file);
  m_position = offset + got;
  if (got < count) {
    // The read stayed within the size the file had: the file was cut short since.
    std::clearerr(m_file);
    if (m_dictionary) m_dictionary->invalidate();
  }
  return got;
}

size_t DefinitionFile::readValuesAt(uint64_t offset, uint32_t* values, size_t count) {
  uint8_t bytes[4 * 128];
  size_t done = 0;
  while (done < count) {
    const size_t want = count - done < 128 ? count - done : 128;
    const size_t got = readAt(offset + 4 * done, bytes, 4 * want) / 4;
    for (size_t i = 0; i < got; ++i) values[done + i] = decodeU32(bytes + 4 * i);
    done += got;
    if (got < want) break;
  }
  return done;
}

}  // namespace qel
