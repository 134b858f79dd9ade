// The key and checksums of side files.
#include "dictionary/SideFileLayout.h"

#include <cstdio>
#include <cstring>
#include <filesystem>

// xxHash (Debian's libxxhash-dev) compiled in from its header: qel-cli links statically.
#define XXH_INLINE_ALL
#include <xxhash.h>

#include "dictionary/Dictionary.h"
#include "platform/FileAccess.h"
#include "platform/MappedFile.h"

namespace qel::side_file {

uint64_t checksum(const void* data, size_t size, uint64_t seed) {
  return XXH3_64bits_withSeed(data, size, seed);
}

std::span<const uint8_t> dictionaryBytesOf(const Dictionary& dictionary,
                                           std::span<const uint8_t> file, int length) {
  const uint64_t start = dictionary.sectionOffset()[length];
  uint64_t end = file.size();
  for (int next = length + 1; next < dictionary.slotCount(); ++next) {
    if (dictionary.sectionOffset()[next] > start) {
      end = dictionary.sectionOffset()[next];
      break;
    }
  }
  if (start > end || end > file.size()) return {};
  return file.subspan(static_cast<size_t>(start), static_cast<size_t>(end - start));
}

std::shared_ptr<const MappedFile> mapDictionary(const Dictionary& dictionary) {
  std::shared_ptr<const MappedFile> file = MappedFile::open(dictionary.path());
  return file && file->identity() == dictionary.identity() ? file : nullptr;
}

std::string absolutePath(const std::string& path) {
  std::error_code ec;
  const std::filesystem::path absolute = std::filesystem::absolute(path, ec);
  return ec ? path : absolute.lexically_normal().string();
}

bool keyOf(const Dictionary& dictionary, Header& key, std::string& path) {
  if (!dictionary.valid()) return false;
  int error = 0;
  FileIdentity identity;
  std::FILE* file = openRegularFile(dictionary.path(), error, &identity);
  if (!file) return false;
  uint8_t head[kKeyedBytes];
  const size_t read = std::fread(head, 1, sizeof head, file);
  std::fclose(file);
  if (!(identity == dictionary.identity())) return false;
  key = Header{};
  std::memcpy(key.magic, kMagic, sizeof kMagic);
  key.formatVersion = kFormatVersion;
  key.byteOrderMark = kByteOrderMark;
  key.dictionarySize = identity.size;
  key.dictionaryTime = identity.modified;
  key.dictionaryChangeTime = identity.changed;
  key.dictionaryDevice = identity.device;
  key.dictionaryInode = identity.inode;
  key.dictionaryChecksum = checksum(head, read);
  key.slotCount = static_cast<uint32_t>(dictionary.slotCount());
  path = absolutePath(dictionary.path());
  key.pathSize = static_cast<uint32_t>(path.size());
  return true;
}

uint64_t headerChecksum(Header header, const std::string& path) {
  header.headerChecksum = 0;
  return checksum(path.data(), path.size(), checksum(&header, sizeof header));
}

bool checksumsHold(const SectionRecord& r, std::span<const uint8_t> bytes,
                   std::span<const uint8_t> dictionaryBytes) {
  if (r.end < r.items || !inside(r.items, r.end - r.items, 1, bytes.size())) return false;
  return checksum(bytes.data() + r.items, static_cast<size_t>(r.end - r.items)) == r.checksum &&
         checksum(dictionaryBytes.data(), dictionaryBytes.size()) == r.dictionaryChecksum;
}

}  // namespace qel::side_file
