// Little-endian encoding and decoding shared by the readers and writers of QEL's files (the
// dictionary, its ranks), so that the byte layout is written in one place.
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

inline void encodeU64(uint8_t* p, uint64_t v) {
  encodeU32(p, static_cast<uint32_t>(v));
  encodeU32(p + 4, static_cast<uint32_t>(v >> 32));
}

inline uint64_t decodeU64(const uint8_t* p) {
  return decodeU32(p) | uint64_t{decodeU32(p + 4)} << 32;
}

}  // namespace qel
