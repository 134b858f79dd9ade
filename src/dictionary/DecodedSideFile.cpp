// Mapping a side file for a dictionary and giving its sections to replay, the note that vouches
// for one, and where side files go and when one is made (the layout is in SideFileLayout.h).
//
// A length's bytes are checked against both checksums when a search first asks for them: a
// damaged side file, or one made from other contents under the same name, size and times (a
// dictionary replaced within a file system's time granularity), is never replayed.
#include "dictionary/DecodedSideFile.h"

#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>

#include "dictionary/Alphabet.h"
#include "dictionary/Dictionary.h"
#include "dictionary/SideFileLayout.h"
#include "platform/FileAccess.h"
#include "platform/FileReplacement.h"

namespace qel {
namespace {

namespace fs = std::filesystem;
using namespace side_file;

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

}  // namespace

std::shared_ptr<DecodedSideFile> DecodedSideFile::open(const std::string& path,
                                                       const Dictionary& dictionary) {
  Header key;
  std::string dictionaryPath;
  if (!keyOf(dictionary, key, dictionaryPath)) return nullptr;
  std::shared_ptr<const MappedFile> file = MappedFile::open(path, Trust::kPrivate);
  if (!file) return nullptr;
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
  side->m_dictionary = &dictionary;
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
  DictionaryBytes dictionaryBytes(*m_dictionary);
  for (int length = 1; !checked && length < format::kMaxSlots; ++length) {
    const SectionRecord& r = header.sections[length];
    if (!r.present) continue;
    if (!ownChecksumHolds(r, bytes) || !dictionaryBytesHold(length, dictionaryBytes)) {
      std::remove(m_path.c_str());  // damaged or stale: the next process makes it again
      return;
    }
  }
  VouchNote note;
  note.side = m_file->identity();
  note.dictionary = m_dictionaryIdentity;
  note.checksum = noteChecksum(note);
  FileReplacement out;
  if (!out.begin(notePath(), FileReplacement::Target::kPrivate).ok()) return;
  // Without the note, the next process checks the side file whole again.
  if (std::fwrite(&note, 1, sizeof note, out.file()) == sizeof note && out.commit().ok()) {
    m_vouched = true;
  }
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
               ownChecksumHolds(r, bytes);
  if (sound && !m_vouched) {
    DictionaryBytes dictionaryBytes(*m_dictionary);
    sound = dictionaryBytesHold(length, dictionaryBytes);
  }
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

bool DecodedSideFile::dictionaryBytesHold(int length, DictionaryBytes& reader) const {
  Header header;
  std::memcpy(&header, m_file->bytes().data(), sizeof header);
  uint64_t sum = 0;
  return m_dictionary->identity() == m_dictionaryIdentity && reader.checksumOf(length, sum) &&
         sum == header.sections[length].dictionaryChecksum;
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

// Whether the folder's file system has room for the dictionary's side file, judged from the
// dictionary's own sizes so generously that no side file could need more: each length's bytes
// decode to at most one character per shortest code, and each entry takes an item, its letters and
// two ends. A full disk is then not decoded for and written to by every search.
bool roomFor(const Dictionary& dictionary, const std::string& folder) {
  struct statvfs space;
  if (::statvfs(folder.c_str(), &space) != 0) return false;
  int shortestCode = 32;
  for (int symbol = 0; symbol < format::kSymbolCount; ++symbol) {
    const int length = dictionary.decoder().node(symbol).codeLength;
    if (length > 0) shortestCode = std::min(shortestCode, length);
  }
  uint64_t bytes = 1 << 20;  // header, path and padding
  for (int length = 1; length < dictionary.slotCount(); ++length) {
    ByteRange range;
    if (dictionaryRangeOf(dictionary, length, range)) bytes += range.size * 8 / shortestCode;
    bytes += uint64_t{dictionary.entryCount()[length]} *
             (sizeof(DecodedItem) + static_cast<uint64_t>(length) + 1 + 2 + 1);
  }
  return static_cast<uint64_t>(space.f_bavail) * space.f_frsize >= bytes;
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
    sweepStaleTemporaries(folder);  // of side files made by processes killed meanwhile
    if (!DecodedSideFile::make(path, dictionary).ok()) {
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
