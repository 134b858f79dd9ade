// Little-endian encoding and decoding shared by the dictionary reader and the builder, so the byte
// layout of the file format is written in one place.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace qel {

inline void putU16(std::string& out, uint16_t v) {
  out.push_back(static_cast<char>(v & 0xFF));
  out.push_back(static_cast<char>(v >> 8));
}

inline void putU32(std::string& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

inline void encodeU16(uint8_t* p, uint16_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}

inline void encodeU32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

inline uint16_t decodeU16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

inline int16_t decodeI16(const uint8_t* p) { return static_cast<int16_t>(decodeU16(p)); }

inline uint32_t decodeU32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

// A bounded cursor over bytes already read: every get checks the end and fails instead of reading
// past it. Once a get fails the reader stays failed, so a caller may check ok() once after a run of
// reads.
class ByteReader {
 public:
  ByteReader(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}

  bool ok() const { return m_ok; }
  size_t position() const { return m_pos; }
  size_t remaining() const { return m_ok ? m_size - m_pos : 0; }

  bool skip(size_t n) {
    if (!m_ok || n > m_size - m_pos) return m_ok = false;
    m_pos += n;
    return true;
  }
  const uint8_t* bytes(size_t n) {
    if (!m_ok || n > m_size - m_pos) {
      m_ok = false;
      return nullptr;
    }
    const uint8_t* p = m_data + m_pos;
    m_pos += n;
    return p;
  }
  uint8_t u8() {
    const uint8_t* p = bytes(1);
    return p ? p[0] : 0;
  }
  uint16_t u16() {
    const uint8_t* p = bytes(2);
    return p ? decodeU16(p) : 0;
  }
  uint32_t u32() {
    const uint8_t* p = bytes(4);
    return p ? decodeU32(p) : 0;
  }

 private:
  const uint8_t* m_data;
  size_t m_size;
  size_t m_pos = 0;
  bool m_ok = true;
};

}  // namespace qel
