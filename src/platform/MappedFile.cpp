// mmap behind MappedFile.h.
#include "platform/MappedFile.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdio>

namespace qel {

std::shared_ptr<const MappedFile> MappedFile::open(const std::string& path, Trust trust) {
  int error = 0;
  FileIdentity identity;
  std::FILE* file = openRegularFile(path, error, &identity, trust);
  if (!file) return nullptr;
  void* data = MAP_FAILED;
  if (identity.size > 0 && identity.size <= SIZE_MAX) {
    data = ::mmap(nullptr, static_cast<size_t>(identity.size), PROT_READ, MAP_PRIVATE, fileno(file),
                  0);
  }
  std::fclose(file);  // the mapping keeps the file
  if (data == MAP_FAILED) return nullptr;
  return std::shared_ptr<const MappedFile>(new MappedFile(
      static_cast<const uint8_t*>(data), static_cast<size_t>(identity.size), identity));
}

MappedFile::~MappedFile() { ::munmap(const_cast<uint8_t*>(m_data), m_size); }

}  // namespace qel
