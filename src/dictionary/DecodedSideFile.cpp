// Layout of a side file, in the byte order of the machine that wrote it (a mark tells):
//   header: magic, format version, byte-order mark, the dictionary's key, the path's size, a
//           checksum of the header and path, and one record per length (offsets and sizes, a
//           checksum of the length's bytes here and one of its bytes in the dictionary)
//   the dictionary's path
//   per length: its items (DecodedItem as laid out in memory), texts and letters, 8-byte aligned
//
// A length's bytes are checked against both checksums when a search first asks for them: a
// damaged side file, or one made from other contents under the same name, size and times (a
// dictionary replaced within a file system's time granularity), is never replayed.
#include "dictionary/DecodedSideFile.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>

#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

// xxHash (Debian's libxxhash-dev) compiled in from its header: qel-cli links statically.
#define XXH_INLINE_ALL
#include <xxhash.h>

#include "dictionary/Alphabet.h"
#include "dictionary/Dictionary.h"
#include "dictionary/EntryEnumerator.h"
#include "platform/FileAccess.h"
#include "platform/FileReplacement.h"

namespace qel {
namespace {

namespace fs = std::filesystem;

constexpr char kMagic[8] = {'Q', 'E', 'L', 'D', 'E', 'C', '\r', '\n'};
// Changes whenever the layout or the meaning of an item changes.
constexpr uint32_t kFormatVersion = 5;
constexpr uint32_t kByteOrderMark = 0x01020304;
// The part of a dictionary whose checksum goes into the key: its header tables and symbols.
constexpr size_t kKeyedBytes = 4096;

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

uint64_t checksum(const void* data, size_t size, uint64_t seed = 0) {
  return XXH3_64bits_withSeed(data, size, seed);
}

// The bytes of length `length` in the dictionary file: its entry stream and tables, up to where
// the next length's begin (the file's end for the last). Empty when the tables say nonsense.
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

// The dictionary file as the dictionary read it; null when it changed since.
std::shared_ptr<const MappedFile> mapDictionary(const Dictionary& dictionary) {
  std::shared_ptr<const MappedFile> file = MappedFile::open(dictionary.path());
  return file && file->identity() == dictionary.identity() ? file : nullptr;
}

// Writes to the side file and keeps the checksum of what a length writes.
class SectionWriter {
 public:
  SectionWriter(std::FILE* file, uint64_t& position) : m_file(file), m_position(position) {
    XXH3_64bits_reset(m_state.get());
  }
  bool write(const void* data, size_t size) {
    XXH3_64bits_update(m_state.get(), data, size);
    m_position += size;
    return size == 0 || std::fwrite(data, 1, size, m_file) == size;
  }
  bool padTo8() {
    static const char zeros[8] = {};
    return write(zeros, (8 - m_position % 8) % 8);
  }
  uint64_t checksum() { return XXH3_64bits_digest(m_state.get()); }

 private:
  struct FreeState {
    void operator()(XXH3_state_t* state) const { XXH3_freeState(state); }
  };
  std::unique_ptr<XXH3_state_t, FreeState> m_state{XXH3_createState()};
  std::FILE* m_file;
  uint64_t& m_position;
};

std::string absolutePath(const std::string& path) {
  std::error_code ec;
  const fs::path absolute = fs::absolute(path, ec);
  return ec ? path : absolute.lexically_normal().string();
}

// What a side file must name to belong to `dictionary`; false when the file on disk is no longer
// the one the dictionary read.
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

// A region of `count` elements of `size` bytes at `offset` lies inside a file of `fileSize`.
bool inside(uint64_t offset, uint64_t count, uint64_t size, uint64_t fileSize) {
  if (offset > fileSize || count > fileSize / size) return false;
  return count * size <= fileSize - offset;
}

bool writeAll(std::FILE* f, const void* data, size_t size) {
  return size == 0 || std::fwrite(data, 1, size, f) == size;
}

bool padTo8(std::FILE* f, uint64_t& position) {
  static const char zeros[8] = {};
  const size_t pad = (8 - position % 8) % 8;
  position += pad;
  return writeAll(f, zeros, pad);
}

// The note that vouches for a side file: the identities of the side file and of the dictionary
// when every length was found to hold what its checksums say.
struct VouchNote {
  char magic[8] = {'Q', 'E', 'L', 'O', 'K', '\r', '\n', 0};
  uint32_t formatVersion = kFormatVersion;
  uint32_t reserved = 0;
  FileIdentity side, dictionary;
  uint64_t checksum = 0;  // of the note with this field 0
};

uint64_t noteChecksum(VouchNote note) {
  note.checksum = 0;
  return checksum(&note, sizeof note);
}

bool noteHolds(const std::string& path, const FileIdentity& side, const FileIdentity& dictionary) {
  int error = 0;
  std::FILE* file = openRegularFile(path, error, nullptr, Trust::kPrivate);
  if (!file) return false;
  VouchNote note, expected;
  const bool read = std::fread(&note, 1, sizeof note, file) == sizeof note;
  std::fclose(file);
  expected.side = side;
  expected.dictionary = dictionary;
  expected.checksum = noteChecksum(expected);
  return read && std::memcmp(&note, &expected, sizeof note) == 0;
}

// A change of the dictionary this recent could be followed by another that its file system's
// times (to the second, or two on some) would not show.
bool changedTooRecently(const FileIdentity& dictionary) {
  constexpr int64_t kCoarsestTimes = 2'000'000'000;  // nanoseconds
  const int64_t now = std::chrono::duration_cast<std::chrono::nanoseconds>(
                          std::chrono::system_clock::now().time_since_epoch())
                          .count();
  return now - std::max(dictionary.modified, dictionary.changed) < kCoarsestTimes;
}

// A length's bytes hold what their checksums say, here and in the dictionary.
bool checksumsHold(const SectionRecord& r, std::span<const uint8_t> bytes,
                   std::span<const uint8_t> dictionaryBytes) {
  if (r.end < r.items || !inside(r.items, r.end - r.items, 1, bytes.size())) return false;
  return checksum(bytes.data() + r.items, static_cast<size_t>(r.end - r.items)) == r.checksum &&
         checksum(dictionaryBytes.data(), dictionaryBytes.size()) == r.dictionaryChecksum;
}

}  // namespace

std::shared_ptr<DecodedSideFile> DecodedSideFile::open(const std::string& path,
                                                       const Dictionary& dictionary) {
  Header key;
  std::string dictionaryPath;
  if (!keyOf(dictionary, key, dictionaryPath)) return nullptr;
  std::shared_ptr<const MappedFile> file = MappedFile::open(path, Trust::kPrivate);
  if (!file) return nullptr;
  std::shared_ptr<const MappedFile> dictionaryFile = mapDictionary(dictionary);
  if (!dictionaryFile) return nullptr;
  const std::span<const uint8_t> bytes = file->bytes();
  if (bytes.size() < sizeof(Header) + dictionaryPath.size()) return nullptr;
  Header header;
  std::memcpy(&header, bytes.data(), sizeof header);
  const std::string storedPath(reinterpret_cast<const char*>(bytes.data()) + sizeof header,
                               header.pathSize <= dictionaryPath.size() ? header.pathSize : 0);
  if (std::memcmp(header.magic, key.magic, sizeof kMagic) != 0 ||
      header.formatVersion != key.formatVersion || header.byteOrderMark != key.byteOrderMark ||
      header.dictionarySize != key.dictionarySize || header.dictionaryTime != key.dictionaryTime ||
      header.dictionaryChangeTime != key.dictionaryChangeTime ||
      header.dictionaryDevice != key.dictionaryDevice ||
      header.dictionaryInode != key.dictionaryInode ||
      header.dictionaryChecksum != key.dictionaryChecksum || header.pathSize != key.pathSize ||
      header.slotCount != key.slotCount || storedPath != dictionaryPath ||
      header.headerChecksum != headerChecksum(header, storedPath)) {
    return nullptr;
  }
  std::shared_ptr<DecodedSideFile> side(new DecodedSideFile);
  side->m_path = path;
  side->m_file = std::move(file);
  side->m_dictionaryFile = std::move(dictionaryFile);
  for (int length = 1; length < dictionary.slotCount(); ++length) {
    side->m_dictionaryBytes[length] =
        dictionaryBytesOf(dictionary, side->m_dictionaryFile->bytes(), length);
  }
  side->m_letterCount = dictionary.alphabet().total;
  side->m_dictionaryIdentity = dictionary.identity();
  side->m_vouched = noteHolds(side->notePath(), side->m_file->identity(), dictionary.identity());
  return side;
}

void DecodedSideFile::vouch(bool checked) {
  if (m_vouched || changedTooRecently(m_dictionaryIdentity)) return;
  const std::span<const uint8_t> bytes = m_file->bytes();
  Header header;
  std::memcpy(&header, bytes.data(), sizeof header);
  for (int length = 1; !checked && length < format::kMaxSlots; ++length) {
    const SectionRecord& r = header.sections[length];
    if (r.present && !checksumsHold(r, bytes, m_dictionaryBytes[length])) {
      std::remove(m_path.c_str());  // damaged: the next process makes it again
      return;
    }
  }
  VouchNote note;
  note.side = m_file->identity();
  note.dictionary = m_dictionaryIdentity;
  note.checksum = noteChecksum(note);
  FileReplacement out;
  if (!out.begin(notePath(), FileReplacement::Target::kPrivate)) return;
  if (std::fwrite(&note, 1, sizeof note, out.file()) == sizeof note && out.commit()) m_vouched = true;
}

std::shared_ptr<const DecodedSection> DecodedSideFile::section(int length) const {
  if (length <= 0 || length >= format::kMaxSlots) return nullptr;
  const std::span<const uint8_t> bytes = m_file->bytes();
  Header header;
  std::memcpy(&header, bytes.data(), sizeof header);
  const SectionRecord& r = header.sections[length];
  if (!r.present) return nullptr;
  const uint64_t size = bytes.size();
  bool sound = static_cast<uint32_t>(length) < header.slotCount && r.complete <= 1 &&
               r.items % alignof(DecodedItem) == 0 &&
               inside(r.items, r.itemCount, sizeof(DecodedItem), size) &&
               inside(r.texts, r.textBytes, 1, size) && inside(r.letters, r.letterBytes, 1, size) &&
               r.textBytes <= UINT32_MAX && r.letterBytes <= UINT32_MAX &&
               r.unspelledLeading <= r.itemCount && r.unspelledLeading <= r.leadingEntries &&
               r.leadingEntries <= r.letterBytes / (static_cast<uint64_t>(length) + 1) &&
               (m_vouched || checksumsHold(r, bytes, m_dictionaryBytes[length]));
  const uint64_t words = (r.leadingEntries + 63) / 64;
  sound = sound && r.spelled % 8 == 0 && r.referenced % 8 == 0 && r.unspelledBefore % 4 == 0 &&
          r.referencedBefore % 4 == 0 && inside(r.spelled, words, 8, size) &&
          inside(r.referenced, words, 8, size) && inside(r.unspelledBefore, words, 4, size) &&
          inside(r.referencedBefore, words, 4, size);
  auto section = std::make_shared<DecodedSection>();
  if (sound) {
    section->complete = r.complete != 0;
    section->items = {reinterpret_cast<const DecodedItem*>(bytes.data() + r.items),
                      static_cast<size_t>(r.itemCount)};
    section->texts = {reinterpret_cast<const char*>(bytes.data() + r.texts),
                      static_cast<size_t>(r.textBytes)};
    section->letters = {bytes.data() + r.letters, static_cast<size_t>(r.letterBytes)};
    section->storage = m_file;
    section->leadingEntries = static_cast<size_t>(r.leadingEntries);
    const auto counts = [&](uint64_t offset) {
      return std::span<const uint32_t>(reinterpret_cast<const uint32_t*>(bytes.data() + offset),
                                       static_cast<size_t>(words));
    };
    const auto bits = [&](uint64_t offset) {
      return std::span<const uint64_t>(reinterpret_cast<const uint64_t*>(bytes.data() + offset),
                                       static_cast<size_t>(words));
    };
    section->spelled = bits(r.spelled);
    section->referenced = bits(r.referenced);
    section->unspelledBefore = counts(r.unspelledBefore);
    section->referencedBefore = counts(r.referencedBefore);
    section->unspelledLeading = static_cast<size_t>(r.unspelledLeading);
    section->leadingGroupState = r.leadingGroupState;
    // Replay checks the items, and the letters as it reaches them; what the filters read runs to
    // these ends at most.
    section->lettersUnchecked = true;
    section->alphabetTotal = m_letterCount;
    sound = (section->texts.empty() || section->texts.back() == 0) &&
            (section->letters.empty() || section->letters.back() == kEndOfLetters);
    section->damaged = [path = m_path] { std::remove(path.c_str()); };
  }
  if (sound) return section;
  std::remove(m_path.c_str());  // damaged: the next process makes it again
  return nullptr;
}

bool DecodedSideFile::make(const std::string& path, Dictionary& dictionary, std::string& error) {
  Header header;
  std::string dictionaryPath;
  if (!keyOf(dictionary, header, dictionaryPath)) {
    error = "the dictionary changed";
    return false;
  }
  const std::shared_ptr<const MappedFile> dictionaryFile = mapDictionary(dictionary);
  if (!dictionaryFile) {
    error = "the dictionary changed";
    return false;
  }
  FileReplacement out;
  if (!out.begin(path, FileReplacement::Target::kPrivate)) {
    error = out.error();
    return false;
  }
  std::FILE* f = out.file();
  uint64_t position = sizeof header + dictionaryPath.size();
  bool ok = writeAll(f, &header, sizeof header) &&
            writeAll(f, dictionaryPath.data(), dictionaryPath.size()) && padTo8(f, position);
  // One section at a time: making the file needs no more memory than its largest section.
  for (int length = 1; ok && length < dictionary.slotCount(); ++length) {
    const std::shared_ptr<const DecodedSection> s =
        EntryEnumerator::decodeSection(dictionary, length);
    if (!s) continue;
    SectionRecord& r = header.sections[length];
    SectionWriter w(f, position);
    r.present = 1;
    r.complete = s->complete ? 1 : 0;
    r.leadingEntries = s->leadingEntries;
    r.items = position;
    r.itemCount = s->items.size();
    ok = w.write(s->items.data(), s->items.size_bytes());
    r.texts = position;
    r.textBytes = s->texts.size();
    ok = ok && w.write(s->texts.data(), s->texts.size());
    r.letters = position;
    r.letterBytes = s->letters.size();
    ok = ok && w.write(s->letters.data(), s->letters.size()) && w.padTo8();
    r.unspelledLeading = s->unspelledLeading;
    r.leadingGroupState = s->leadingGroupState;
    // Each array is 8-byte aligned, as the ones before it end on a multiple of 8.
    for (auto [offset, part] :
         {std::pair{&r.spelled, std::as_bytes(s->spelled)},
          std::pair{&r.referenced, std::as_bytes(s->referenced)},
          std::pair{&r.unspelledBefore, std::as_bytes(s->unspelledBefore)},
          std::pair{&r.referencedBefore, std::as_bytes(s->referencedBefore)}}) {
      *offset = position;
      ok = ok && w.write(part.data(), part.size()) && w.padTo8();
    }
    r.end = position;
    r.checksum = w.checksum();
    const std::span<const uint8_t> source =
        dictionaryBytesOf(dictionary, dictionaryFile->bytes(), length);
    r.dictionaryChecksum = checksum(source.data(), source.size());
  }
  if (!ok) error = std::strerror(errno);
  // The dictionary changed while it was decoded: what was decoded may be mixed.
  if (ok && !dictionary.valid()) {
    error = "the dictionary changed";
    ok = false;
  }
  header.headerChecksum = headerChecksum(header, dictionaryPath);
  if (ok && (std::fseek(f, 0, SEEK_SET) != 0 || !writeAll(f, &header, sizeof header))) {
    error = std::strerror(errno);
    ok = false;
  }
  if (!ok) {
    out.discard();
    return false;
  }
  if (!out.commit()) {
    error = out.error();
    return false;
  }
  return true;
}

bool restampSideFile(std::vector<uint8_t>& bytes, const Dictionary& dictionary, Restamp what) {
  Header key;
  std::string path;
  if (!keyOf(dictionary, key, path) || bytes.size() < sizeof key + path.size()) return false;
  Header header;
  std::memcpy(&header, bytes.data(), sizeof header);
  std::memcpy(key.sections, header.sections, sizeof key.sections);
  for (SectionRecord& r : key.sections) {
    if (what == Restamp::kKeyAndContents && r.end >= r.items &&
        inside(r.items, r.end - r.items, 1, bytes.size())) {
      r.checksum = checksum(bytes.data() + r.items, static_cast<size_t>(r.end - r.items));
    }
  }
  std::memcpy(bytes.data() + sizeof key, path.data(), path.size());
  key.headerChecksum = headerChecksum(key, path);
  std::memcpy(bytes.data(), &key, sizeof key);
  return true;
}

bool sideFilesWanted() {
  const char* off = std::getenv("QEL_NO_CACHE");
  return off == nullptr || off[0] == 0 || std::string_view(off) == "0";
}

std::string sideFileFolder() {
  const char* cache = std::getenv("XDG_CACHE_HOME");
  if (cache && cache[0] == '/') return (fs::path(cache) / "qel").string();
  const char* home = std::getenv("HOME");
  if (home && home[0] == '/') return (fs::path(home) / ".cache" / "qel").string();
  return std::string();
}

std::string sideFilePath(const std::string& folder, const std::string& dictionaryPath) {
  const std::string absolute = absolutePath(dictionaryPath);
  char name[32];
  std::snprintf(name, sizeof name, "%016llx.qds",
                static_cast<unsigned long long>(checksum(absolute.data(), absolute.size())));
  return (fs::path(folder) / name).string();
}

namespace {

// Whether the folder's file system has room for the dictionary's side file, judged generously
// (a decoded entry takes far less): a full disk is not decoded for and written to by every search.
bool roomFor(const Dictionary& dictionary, const std::string& folder) {
  struct statvfs space;
  if (::statvfs(folder.c_str(), &space) != 0) return false;
  uint64_t entries = 0;
  for (int length = 1; length < dictionary.slotCount(); ++length)
    entries += dictionary.entryCount()[length];
  constexpr uint64_t kBytesPerEntry = 64;
  constexpr uint64_t kHeaderRoom = 1 << 20;
  return static_cast<uint64_t>(space.f_bavail) * space.f_frsize >=
         entries * kBytesPerEntry + kHeaderRoom;
}

// Temporaries of side files a stopped process could not remove ("." name "." suffix ".tmp"):
// this user's, and more than a day old, so that no file being written now is touched.
void sweepStaleTemporaries(const std::string& folder) {
  constexpr int64_t kStaleSeconds = 24 * 60 * 60;
  const int64_t now = static_cast<int64_t>(std::time(nullptr));
  std::error_code ec;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder, ec)) {
    const std::string name = entry.path().filename().string();
    if (name.size() < 5 || name[0] != '.' || name.compare(name.size() - 4, 4, ".tmp") != 0)
      continue;
    struct stat s;
    if (::lstat(entry.path().c_str(), &s) == 0 && S_ISREG(s.st_mode) && s.st_uid == ::geteuid() &&
        now - static_cast<int64_t>(s.st_mtime) > kStaleSeconds) {
      ::unlink(entry.path().c_str());
    }
  }
}

}  // namespace

SideFileUse useDecodedSideFile(Dictionary& dictionary, const std::string& folder) {
  if (!dictionary.valid() || folder.empty()) return SideFileUse::kNone;
  // A folder that others could write to, or that is a link, is not used: the search decodes the
  // dictionary as without a cache.
  if (!preparePrivateFolder(folder)) return SideFileUse::kUnwritten;
  const std::string path = sideFilePath(folder, dictionary.path());
  std::shared_ptr<DecodedSideFile> side = DecodedSideFile::open(path, dictionary);
  SideFileUse use = SideFileUse::kMapped;
  if (!side) {
    if (!roomFor(dictionary, folder)) return SideFileUse::kUnwritten;
    sweepStaleTemporaries(folder);
    std::string error;
    if (!DecodedSideFile::make(path, dictionary, error)) {
      return dictionary.valid() ? SideFileUse::kUnwritten : SideFileUse::kNone;
    }
    side = DecodedSideFile::open(path, dictionary);
    if (!side) return SideFileUse::kUnwritten;
    use = SideFileUse::kMade;
  }
  side->vouch(use == SideFileUse::kMade);
  dictionary.setDecodedSource([side](int length) { return side->section(length); });
  return use;
}

void prepareSideFile(const std::string& dictionaryPath) {
  if (!sideFilesWanted()) return;
  Dictionary dictionary;
  if (dictionary.open(dictionaryPath, false).ok()) useDecodedSideFile(dictionary, sideFileFolder());
}

}  // namespace qel
