// The dictionary file being written: a buffered sequential writer that knows its position and
// remembers any failed write, and a packer for the entry bit streams. The file is written beside
// its target and only takes the target's place when the whole of it is on disk.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "dictionary/DictionaryFingerprint.h"
#include "platform/FileReplacement.h"

namespace qel::build {

class OutputFile {
 public:
  OutputFile() = default;
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  // Unwritable when the target is not a regular file or cannot be written beside.
  Status open(const std::string& path);
  // Once a write has failed the rest is dropped; failed() tells at the end.
  void write(const void* data, size_t size);
  void write(std::string_view bytes) { write(bytes.data(), bytes.size()); }
  void writeU16(uint16_t v);
  void writeU32(uint32_t v);
  // Writes `bytes` over the file from `offset` on, after everything before has reached the file.
  void overwrite(uint64_t offset, std::string_view bytes);
  // Puts the file in the target's place, the target's previous contents kept as `backupPath`
  // when one is given; unwritable (and failed()) when this or any earlier write failed, the
  // target then keeping what it held.
  Status commit(const std::string& backupPath = std::string());
  // The fingerprint of everything written so far; false (and failed()) when it cannot be read.
  bool fingerprint(DictionaryFingerprint& fingerprint);
  // Drops what was written; the target keeps what it held. Also done on destruction.
  void discard();

  uint64_t position() const { return m_position; }
  bool failed() const { return m_failed; }
  // Why a write failed, in words ("out of disk space?").
  static Status writeFailure();

 private:
  void drain();

  FileReplacement m_replacement;
  std::FILE* m_file = nullptr;
  std::vector<char> m_buffer;
  uint64_t m_position = 0;
  bool m_failed = false;
  bool m_writeFailed = false;  // a write, rather than the replacement, failed
};

// Packs codes into 16-bit little-endian units, filling each from its least significant bit. The
// caller hands over codes already bit-reversed, so the first bit of the stream is bit 0.
class BitPacker {
 public:
  explicit BitPacker(OutputFile& file) : m_file(file) {}

  void put(uint32_t bits, int count) {
    m_bits |= static_cast<uint64_t>(bits) << m_count;
    m_count += count;
    while (m_count >= 16) {
      m_file.writeU16(static_cast<uint16_t>(m_bits));
      m_bits >>= 16;
      m_count -= 16;
    }
  }
  // Fills the last unit with zero bits.
  void flush() {
    if (m_count > 0) m_file.writeU16(static_cast<uint16_t>(m_bits));
    m_bits = 0;
    m_count = 0;
  }

 private:
  OutputFile& m_file;
  uint64_t m_bits = 0;
  int m_count = 0;  // below 16 between calls
};

}  // namespace qel::build
