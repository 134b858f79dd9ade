// The key and checksums of side files.
#include "dictionary/SideFileLayout.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

// xxHash (Debian's libxxhash-dev) compiled in from its header: qel-cli links statically.
#define XXH_INLINE_ALL
#include <xxhash.h>

#include "dictionary/Dictionary.h"
#include "dictionary/DictionaryFingerprint.h"
#include "platform/FileAccess.h"

namespace qel::side_file {

uint64_t checksum(const void* data, size_t size, uint64_t seed) {
  return XXH3_64bits_withSeed(data, size, seed);
}

bool dictionaryRangeOf(const Dictionary& dictionary, int length, ByteRange& range) {
  if (length <= 0 || length >= dictionary.slotCount()) return false;
  const uint64_t fileSize = dictionary.identity().size;
  const uint64_t start = dictionary.sectionOffset()[length];
  uint64_t end = fileSize;
  for (int next = length + 1; next < dictionary.slotCount(); ++next) {
    if (dictionary.sectionOffset()[next] > start) {
      end = dictionary.sectionOffset()[next];
      break;
    }
  }
  if (start > end || end > fileSize) return false;
  range = {start, end - start};
  return true;
}

DictionaryBytes::DictionaryBytes(const Dictionary& dictionary) : m_dictionary(dictionary) {
  int error = 0;
  FileIdentity identity;
  m_file = openRegularFile(dictionary.path(), error, &identity);
  m_failed = m_file == nullptr || !(identity == dictionary.identity());
}

DictionaryBytes::~DictionaryBytes() {
  if (m_file) std::fclose(m_file);
}

bool DictionaryBytes::checksumOf(int length, uint64_t& sum) {
  ByteRange range;
  if (m_failed || !dictionaryRangeOf(m_dictionary, length, range)) {
    m_failed = true;
    return false;
  }
  XXH3_state_t state;
  XXH3_64bits_reset(&state);
  const int fd = ::fileno(m_file);
  static constexpr size_t kChunk = 1 << 16;
  uint8_t buffer[kChunk];
  for (uint64_t done = 0; done < range.size;) {
    const size_t want = static_cast<size_t>(std::min<uint64_t>(kChunk, range.size - done));
    const ssize_t got = ::pread(fd, buffer, want, static_cast<off_t>(range.offset + done));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) {
      m_failed = true;  // cut short since the dictionary read it, or unreadable
      return false;
    }
    XXH3_64bits_update(&state, buffer, static_cast<size_t>(got));
    done += static_cast<uint64_t>(got);
  }
  // Rewritten in place meanwhile (the same size, other bytes) shows in its times.
  FileIdentity now;
  if (regularFileIdentity(m_file, now) != 0 || !(now == m_dictionary.identity())) {
    m_failed = true;
    return false;
  }
  sum = XXH3_64bits_digest(&state);
  return true;
}

bool keyOf(const Dictionary& dictionary, Header& key, std::string& path) {
  if (!dictionary.valid()) return false;
  // The dictionary as it was read: what its sections were decoded from.
  const FileIdentity& identity = dictionary.identity();
  const DictionaryFingerprint& fingerprint = dictionary.fingerprint();
  key = Header{};
  std::memcpy(key.magic, kMagic, sizeof kMagic);
  key.formatVersion = kFormatVersion;
  key.byteOrderMark = kByteOrderMark;
  key.dictionarySize = identity.size;
  key.dictionaryTime = identity.modified;
  key.dictionaryChangeTime = identity.changed;
  key.dictionaryDevice = identity.device;
  key.dictionaryInode = identity.inode;
  key.dictionaryChecksum = fingerprint.headChecksum;
  key.slotCount = static_cast<uint32_t>(dictionary.slotCount());
  path = absolutePath(dictionary.path());
  key.pathSize = static_cast<uint32_t>(path.size());
  return true;
}

uint64_t headerChecksum(Header header, const std::string& path) {
  header.headerChecksum = 0;
  return checksum(path.data(), path.size(), checksum(&header, sizeof header));
}

bool ownChecksumHolds(const SectionRecord& r, std::span<const uint8_t> bytes) {
  if (r.end < r.items || !inside(r.items, r.end - r.items, 1, bytes.size())) return false;
  return checksum(bytes.data() + r.items, static_cast<size_t>(r.end - r.items)) == r.checksum;
}

}  // namespace qel::side_file
