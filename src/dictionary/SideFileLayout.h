// The layout of a side file of decoded sections, in the byte order of the machine that wrote it (a
// mark tells):
//   header: magic, format version, byte-order mark, the dictionary's key, the path's size, a
//           checksum of the header and path, and one record per length (offsets and sizes, a
//           checksum of the length's bytes here and one of its bytes in the dictionary)
//   the dictionary's path
//   per length: its items (DecodedItem as laid out in memory), texts and letters, 8-byte aligned
// and the key and checksums that tie a side file to its dictionary, which reading and writing
// side files share.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "dictionary/FileFormat.h"

namespace qel {

class Dictionary;

namespace side_file {

inline constexpr char kMagic[8] = {'Q', 'E', 'L', 'D', 'E', 'C', '\r', '\n'};
// Changes whenever the layout or the meaning of an item changes.
inline constexpr uint32_t kFormatVersion = 5;
inline constexpr uint32_t kByteOrderMark = 0x01020304;

struct SectionRecord {
  uint64_t items = 0, itemCount = 0;
  uint64_t texts = 0, textBytes = 0;
  uint64_t letters = 0, letterBytes = 0;
  uint64_t leadingEntries = 0;
  // Four arrays of one value per 64 leading entries: spelled and referenced (64-bit words), then
  // unspelledBefore and referencedBefore (32-bit counts).
  uint64_t spelled = 0, referenced = 0, unspelledBefore = 0, referencedBefore = 0;
  uint64_t unspelledLeading = 0;
  uint64_t end = 0;                 // just past the length's last array
  uint64_t checksum = 0;            // of the bytes from `items` to `end`
  uint64_t dictionaryChecksum = 0;  // of the length's bytes in the dictionary
  int32_t leadingGroupState = 0;
  uint32_t present = 0, complete = 0;
  uint32_t reserved = 0;  // written as 0
};

struct Header {
  char magic[8];
  uint32_t formatVersion;
  uint32_t byteOrderMark;
  uint64_t dictionarySize;
  int64_t dictionaryTime;
  int64_t dictionaryChangeTime;  // which, unlike the write time, no program can set back
  uint64_t dictionaryDevice;
  uint64_t dictionaryInode;
  uint64_t dictionaryChecksum;
  uint64_t headerChecksum;  // of the header with this field 0, then the path
  uint32_t pathSize;
  uint32_t slotCount;
  SectionRecord sections[format::kMaxSlots];
};

// The checksum every part of a side file and its key use.
uint64_t checksum(const void* data, size_t size, uint64_t seed = 0);

// Where the bytes of length `length` lie in the dictionary file: its entry stream and tables, up
// to where the next length's begin (the file's end for the last). False when the tables say
// nonsense for a file of the dictionary's size.
struct ByteRange {
  uint64_t offset = 0;
  uint64_t size = 0;
};
bool dictionaryRangeOf(const Dictionary& dictionary, int length, ByteRange& range);

// The dictionary file as the dictionary read it, for checksums of its bytes. It is read with
// pread, never mapped: a file cut short in place while it is read gives a short read here, where
// a mapping would fault.
class DictionaryBytes {
 public:
  // Opens the file; failed() when it is no longer the one the dictionary read.
  explicit DictionaryBytes(const Dictionary& dictionary);
  ~DictionaryBytes();
  DictionaryBytes(const DictionaryBytes&) = delete;
  DictionaryBytes& operator=(const DictionaryBytes&) = delete;

  bool failed() const { return m_failed; }
  // The checksum of length `length`'s bytes; false (and failed() from then on) when they cannot
  // all be read, or the file is no longer the one the dictionary read.
  bool checksumOf(int length, uint64_t& sum);

 private:
  const Dictionary& m_dictionary;
  std::FILE* m_file = nullptr;
  bool m_failed = false;
};

// What a side file must name to belong to `dictionary`; false when the file on disk is no longer
// the one the dictionary read.
bool keyOf(const Dictionary& dictionary, Header& key, std::string& path);

uint64_t headerChecksum(Header header, const std::string& path);

// A region of `count` elements of `size` bytes at `offset` lies inside a file of `fileSize`.
inline bool inside(uint64_t offset, uint64_t count, uint64_t size, uint64_t fileSize) {
  if (offset > fileSize || count > fileSize / size) return false;
  return count * size <= fileSize - offset;
}

// A length's bytes in the side file hold what their checksum says.
bool ownChecksumHolds(const SectionRecord& r, std::span<const uint8_t> bytes);

}  // namespace side_file
}  // namespace qel
