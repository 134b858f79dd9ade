// What ties a file kept beside a dictionary (its ranks) or made from it (its side file) to the
// dictionary's contents: the file's size and a checksum of its first bytes, which hold every
// offset, count and code of the file. Unlike the file's identity it survives a copy, and a
// rebuilt dictionary has another one unless its contents are the same.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace qel {

struct DictionaryFingerprint {
  // The bytes the checksum covers: the header tables and symbols of any dictionary.
  static constexpr size_t kHeadBytes = 4096;

  uint64_t size = 0;
  uint64_t headChecksum = 0;

  bool operator==(const DictionaryFingerprint&) const = default;
};

// The fingerprint of the file open as `file` (read from its start; its position is not kept), or
// of the file at `path`. False when it cannot be read.
bool fingerprintOf(std::FILE* file, DictionaryFingerprint& fingerprint);
bool fingerprintOf(const std::string& path, DictionaryFingerprint& fingerprint);

}  // namespace qel
