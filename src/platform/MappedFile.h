// A regular file mapped read-only into memory, for data that is read far more often than it is
// written. The mapping stays valid while the object lives, even when the file is replaced by name
// or removed; a file cut short in place would fault on reading, so the files mapped here are only
// ever replaced by rename, never rewritten.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "platform/FileAccess.h"

namespace qel {

class MappedFile {
 public:
  // Maps the regular file at `path`; null when it cannot be opened (see Trust) or mapped, or is
  // empty.
  static std::shared_ptr<const MappedFile> open(const std::string& path, Trust trust = Trust::kAny);
  ~MappedFile();
  MappedFile(const MappedFile&) = delete;
  MappedFile& operator=(const MappedFile&) = delete;

  std::span<const uint8_t> bytes() const { return {m_data, m_size}; }
  const FileIdentity& identity() const { return m_identity; }

 private:
  MappedFile(const uint8_t* data, size_t size, const FileIdentity& identity)
      : m_data(data), m_size(size), m_identity(identity) {}

  const uint8_t* m_data;
  size_t m_size;
  FileIdentity m_identity;
};

}  // namespace qel
