// A dictionary file opened for reading definition records and reference values. Every read is
// bounded by the size the file had when it was opened, so a corrupt offset yields a short read,
// never a read past the end. A file that is not the one its dictionary read, or that gets cut
// short while it is read, invalidates the dictionary.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

namespace qel {

class Dictionary;

class DefinitionFile {
 public:
  DefinitionFile() = default;
  ~DefinitionFile() { close(); }
  DefinitionFile(const DefinitionFile&) = delete;
  DefinitionFile& operator=(const DefinitionFile&) = delete;

  // Opens the file of `dictionary` read-only; `bufferSize` above 0 gives the stream a buffer of
  // that size. False for a file other than the one the dictionary read (which invalidates it).
  bool open(Dictionary& dictionary, size_t bufferSize = 0);
  void close();
  bool isOpen() const { return m_file != nullptr; }
  uint64_t size() const { return m_size; }

  // Reads up to `count` bytes at `offset`; returns how many were read (0 past the end).
  size_t readAt(uint64_t offset, void* buffer, size_t count);
  // Reads up to `count` u32 values at `offset` into `values`; returns how many were read.
  size_t readValuesAt(uint64_t offset, uint32_t* values, size_t count);

 private:
  Dictionary* m_dictionary = nullptr;
  std::FILE* m_file = nullptr;
  char* m_buffer = nullptr;
  uint64_t m_size = 0;
  uint64_t m_position = 0;  // where the stream stands, to spare seeks of sequential reads
};

}  // namespace qel
