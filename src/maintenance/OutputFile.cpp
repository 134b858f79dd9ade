// Buffered writes of the dictionary file; a failed write is remembered, never retried.
#include "maintenance/OutputFile.h"

#include <cerrno>

#include "dictionary/ByteOrder.h"

namespace qel::build {
namespace {
constexpr size_t kBufferSize = 1 << 20;
}

Status OutputFile::open(const std::string& path) {
  discard();
  if (Status begun = m_replacement.begin(path); !begun.ok()) return begun;
  m_file = m_replacement.file();
  // Our own buffer does the batching; without a second one in the C library a full disk shows at
  // the write that meets it.
  std::setvbuf(m_file, nullptr, _IONBF, 0);
  m_buffer.reserve(kBufferSize);
  m_position = 0;
  m_failed = m_writeFailed = false;
  return Status();
}

void OutputFile::write(const void* data, size_t size) {
  m_position += size;
  if (m_failed) return;
  const char* p = static_cast<const char*>(data);
  m_buffer.insert(m_buffer.end(), p, p + size);
  if (m_buffer.size() >= kBufferSize) drain();
}

void OutputFile::writeU16(uint16_t v) {
  uint8_t b[2];
  encodeU16(b, v);
  write(b, 2);
}

void OutputFile::writeU32(uint32_t v) {
  uint8_t b[4];
  encodeU32(b, v);
  write(b, 4);
}

void OutputFile::drain() {
  if (!m_failed && !m_buffer.empty() &&
      std::fwrite(m_buffer.data(), 1, m_buffer.size(), m_file) != m_buffer.size()) {
    m_failed = m_writeFailed = true;
  }
  m_buffer.clear();
}

void OutputFile::overwrite(uint64_t offset, std::string_view bytes) {
  drain();
  if (m_failed) return;
  if (std::fseek(m_file, static_cast<long>(offset), SEEK_SET) != 0 ||
      std::fwrite(bytes.data(), 1, bytes.size(), m_file) != bytes.size() ||
      std::fflush(m_file) != 0 || std::fseek(m_file, 0, SEEK_END) != 0) {
    m_failed = m_writeFailed = true;
  }
}

Status OutputFile::commit(const std::string& backupPath) {
  if (m_file == nullptr) return Status::unwritable(EBADF);
  drain();
  m_file = nullptr;
  if (m_failed) {
    m_replacement.discard();
    return writeFailure();
  }
  Status committed = m_replacement.commit(backupPath);
  m_failed = !committed.ok();
  return committed;
}

bool OutputFile::fingerprint(DictionaryFingerprint& fingerprint) {
  if (m_file == nullptr) return false;
  drain();
  // The file is open for writing only: it is read again by its name.
  if (!m_failed &&
      (std::fflush(m_file) != 0 || !fingerprintOf(m_replacement.temporaryPath(), fingerprint))) {
    m_failed = m_writeFailed = true;
  }
  return !m_failed;
}

Status OutputFile::writeFailure() {
  // Writes fail for want of space far more often than for anything else.
  return Status::failed(Status::Code::kUnwritable, "out of disk space?");
}

void OutputFile::discard() {
  m_file = nullptr;
  m_buffer.clear();
  m_replacement.discard();
}

}  // namespace qel::build
