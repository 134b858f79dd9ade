#include "maintenance/OutputFile.h"

#include "dictionary/ByteOrder.h"

namespace qel::build {
namespace {
constexpr size_t kBufferSize = 1 << 20;
}

bool OutputFile::open(const std::string& path) {
  m_file = std::fopen(path.c_str(), "wb");
  if (m_file == nullptr) return false;
  // Our own buffer does the batching; without a second one in the C library a full disk shows at
  // the write that meets it.
  std::setvbuf(m_file, nullptr, _IONBF, 0);
  m_buffer.reserve(kBufferSize);
  m_position = 0;
  m_failed = false;
  return true;
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
    m_failed = true;
  }
  m_buffer.clear();
}

void OutputFile::overwrite(uint64_t offset, std::string_view bytes) {
  drain();
  if (m_failed) return;
  if (std::fseek(m_file, static_cast<long>(offset), SEEK_SET) != 0 ||
      std::fwrite(bytes.data(), 1, bytes.size(), m_file) != bytes.size() ||
      std::fflush(m_file) != 0 || std::fseek(m_file, 0, SEEK_END) != 0) {
    m_failed = true;
  }
}

void OutputFile::close() {
  if (m_file == nullptr) return;
  drain();
  if (std::fclose(m_file) != 0) m_failed = true;
  m_file = nullptr;
}

}  // namespace qel::build
