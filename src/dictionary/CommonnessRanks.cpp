#include "dictionary/CommonnessRanks.h"

// xxHash compiled in from its header, as the side files do.
#define XXH_INLINE_ALL
#include <xxhash.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>

#include "dictionary/ByteOrder.h"
#include "platform/Cp1252.h"
#include "platform/FileAccess.h"
#include "platform/FileReplacement.h"
#include "platform/MappedFile.h"

namespace qel {
namespace {

constexpr char kTagVersion1[4] = {'Q', 'C', 'R', '1'};
constexpr char kTag[4] = {'Q', 'C', 'R', '2'};
constexpr size_t kHeaderSizeVersion1 = 16;
constexpr size_t kHeaderSize = 32;
constexpr size_t kSlotSize = 16;
constexpr uint32_t kMaxSlots = 1u << 26;
// No entry of a dictionary comes near this; the slot keeps a length in 16 bits.
constexpr size_t kMaxEntry = 4096;

// A slot: the entry's hash, the offset of its text plus one (0: an empty slot), its length and
// its rank.
struct Slot {
  uint64_t hash;
  uint32_t offset;
  size_t length;
  uint8_t rank;
};
Slot readSlot(const uint8_t* p) {
  return {decodeU64(p), decodeU32(p + 8),
          static_cast<size_t>(p[12]) | static_cast<size_t>(p[13]) << 8, p[14]};
}

uint64_t hashOf(std::string_view entry) { return XXH3_64bits(entry.data(), entry.size()); }

}  // namespace

CommonnessRanks::CommonnessRanks() = default;
CommonnessRanks::~CommonnessRanks() = default;
CommonnessRanks::CommonnessRanks(CommonnessRanks&&) noexcept = default;
CommonnessRanks& CommonnessRanks::operator=(CommonnessRanks&&) noexcept = default;

std::string CommonnessRanks::pathFor(const std::string& dictionaryPath) {
  const size_t slash = dictionaryPath.find_last_of('/');
  const size_t dot = dictionaryPath.find_last_of('.');
  const bool extension =
      dot != std::string::npos && (slash == std::string::npos || dot > slash + 1);
  return (extension ? dictionaryPath.substr(0, dot) : dictionaryPath) + ".qcr";
}

Status CommonnessRanks::loadFor(const std::string& dictionaryPath) {
  m_file.reset();
  m_slots = nullptr;
  m_slotCount = 0;
  m_added.clear();
  const std::string path = pathFor(dictionaryPath);
  const auto failure = [&path](Status::Code code, const std::string& why) {
    return Status::failed(code, "\"" + path + "\": " + why);
  };
  FileIdentity identity;
  const int status = regularFileIdentity(path, identity);
  if (status == ENOENT) return Status();  // an unranked dictionary
  std::shared_ptr<const MappedFile> file = MappedFile::open(path);
  if (status != 0 || !file) {
    return failure(Status::Code::kUnreadable,
                   status != 0 ? fileErrorText(status) : "it cannot be read");
  }
  const std::span<const uint8_t> bytes = file->bytes();
  const bool tied = bytes.size() >= kHeaderSize && std::memcmp(bytes.data(), kTag, 4) == 0;
  const bool untied =
      bytes.size() >= kHeaderSizeVersion1 && std::memcmp(bytes.data(), kTagVersion1, 4) == 0;
  const size_t headerSize = tied ? kHeaderSize : kHeaderSizeVersion1;
  const uint32_t slots = tied || untied ? decodeU32(bytes.data() + 4) : 0;
  const uint32_t entries = tied || untied ? decodeU32(bytes.data() + 8) : 0;
  const uint64_t textBytes = tied || untied ? decodeU32(bytes.data() + 12) : 0;
  // A table fuller than the writer leaves it would make lookups long.
  if ((!tied && !untied) || slots == 0 || slots > kMaxSlots || (slots & (slots - 1)) != 0 ||
      uint64_t{entries} * 3 > uint64_t{slots} * 2 ||
      bytes.size() != headerSize + uint64_t{slots} * kSlotSize + textBytes) {
    return failure(Status::Code::kInvalid, "not a ranks file, or a damaged one");
  }
  if (tied) {
    DictionaryFingerprint dictionary;
    if (!fingerprintOf(dictionaryPath, dictionary) ||
        dictionary.size != decodeU64(bytes.data() + 16) ||
        dictionary.headChecksum != decodeU64(bytes.data() + 24)) {
      return failure(Status::Code::kInvalid,
                     "the ranks belong to another dictionary, or to an earlier build of this one");
    }
  }
  m_file = std::move(file);
  m_slots = bytes.data() + headerSize;
  m_slotCount = slots;
  return Status();
}

Status CommonnessRanks::saveFor(const std::string& dictionaryPath) const {
  DictionaryFingerprint tie;
  if (!empty() && !fingerprintOf(dictionaryPath, tie)) {
    return Status::failed(Status::Code::kUnreadable, "the dictionary cannot be read");
  }
  RanksReplacement replacement;
  if (Status begun = replacement.begin(*this, dictionaryPath, tie); !begun.ok()) return begun;
  return replacement.commit();
}

Status RanksReplacement::begin(const CommonnessRanks& ranks, const std::string& dictionaryPath,
                               const DictionaryFingerprint& tie) {
  m_path = CommonnessRanks::pathFor(dictionaryPath);
  m_remove = ranks.empty();
  if (m_remove) return Status();
  if (Status begun = m_file.begin(m_path); !begun.ok()) return begun;
  Status written = ranks.write(m_file.file(), tie);
  if (!written.ok()) m_file.discard();
  return written;
}

Status RanksReplacement::commit() {
  if (m_remove) {
    if (std::remove(m_path.c_str()) == 0 || errno == ENOENT) return Status();
    return Status::failed(Status::Code::kUnwritable, fileErrorText(errno));
  }
  if (Status committed = m_file.commit(); !committed.ok()) return committed;
  return Status();
}

// An entry is known by its 64-bit hash and its length, without reading its text: that keeps a
// lookup to one cache line of the table. Two entries of a dictionary that share both, or a word
// that meets an entry's, would take one in 2^64 lookups; the texts serve all() and merges.
uint8_t CommonnessRanks::mappedRankOf(std::string_view entry, uint64_t hash) const {
  if (!m_file) return kRarest;
  const uint32_t mask = m_slotCount - 1;
  const uint32_t probes = std::min(kMaxProbe, m_slotCount);
  for (uint32_t probe = 0, i = static_cast<uint32_t>(hash) & mask; probe < probes;
       ++probe, i = (i + 1) & mask) {
    const Slot slot = readSlot(m_slots + size_t{i} * kSlotSize);
    if (slot.offset == 0) return kRarest;  // an empty slot ends the entry's run
    if (slot.hash == hash && slot.length == entry.size())
      return std::clamp(slot.rank, kMostCommon, kRarest);
  }
  return kRarest;
}

void CommonnessRanks::prefetch(std::string_view entry) const {
#if defined(__GNUC__)
  if (m_file) {
    const uint32_t i = static_cast<uint32_t>(hashOf(entry)) & (m_slotCount - 1);
    __builtin_prefetch(m_slots + size_t{i} * kSlotSize);
  }
#else
  (void)entry;
#endif
}

uint8_t CommonnessRanks::rankOf(std::string_view entry) const {
  uint8_t rank = m_file ? mappedRankOf(entry, hashOf(entry)) : kRarest;
  if (!m_added.empty()) {
    if (const auto it = m_added.find(std::string(entry)); it != m_added.end())
      rank = std::min(rank, it->second);
  }
  return rank;
}

uint8_t CommonnessRanks::rankOfWords(std::string_view words) const {
  uint8_t rank = kMostCommon;
  for (size_t start = 0; start <= words.size();) {
    const size_t end = std::min(words.find(' ', start), words.size());
    rank = std::max(rank, rankOf(words.substr(start, end - start)));
    start = end + 1;
  }
  return rank;
}

void CommonnessRanks::set(std::string_view entry, uint8_t rank) {
  if (entry.empty() || entry.size() > kMaxEntry) return;
  rank = std::clamp(rank, kMostCommon, kRarest);
  const auto [it, added] = m_added.try_emplace(std::string(entry), rank);
  if (!added) it->second = std::min(it->second, rank);
}

bool CommonnessRanks::empty() const { return !m_file && m_added.empty(); }

std::vector<std::pair<std::string, uint8_t>> CommonnessRanks::all() const {
  std::unordered_map<std::string, uint8_t> merged = m_added;
  if (m_file) {
    const std::span<const uint8_t> bytes = m_file->bytes();
    const std::span<const uint8_t> text = bytes.subspan(
        static_cast<size_t>(m_slots - bytes.data()) + size_t{m_slotCount} * kSlotSize);
    for (uint32_t i = 0; i < m_slotCount; ++i) {
      const Slot slot = readSlot(m_slots + size_t{i} * kSlotSize);
      if (slot.offset == 0 || slot.offset - 1 > text.size() ||
          slot.length > text.size() - (slot.offset - 1))
        continue;
      const std::string entry(reinterpret_cast<const char*>(text.data()) + slot.offset - 1,
                              slot.length);
      const uint8_t rank = std::clamp(slot.rank, kMostCommon, kRarest);
      const auto [it, added] = merged.try_emplace(entry, rank);
      if (!added) it->second = std::min(it->second, rank);
    }
  }
  std::vector<std::pair<std::string, uint8_t>> entries(merged.begin(), merged.end());
  std::sort(entries.begin(), entries.end());
  return entries;
}

Status CommonnessRanks::addText(const std::string& path, std::vector<std::string>& skipped) {
  int openError = 0;
  std::FILE* file = openRegularFile(path, openError);
  if (!file) return Status::failed(Status::Code::kUnreadable, fileErrorText(openError));
  std::string text;
  char buffer[1 << 16];
  for (size_t got; (got = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
    text.append(buffer, got);
  const bool failed = std::ferror(file);
  std::fclose(file);
  if (failed) {
    return Status::failed(Status::Code::kUnreadable, fileErrorText(EIO));
  }
  std::string entry;
  long number = 0;
  for (size_t start = 0; start < text.size();) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string_view line(text.data() + start, end - start);
    start = end + 1;
    ++number;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty()) continue;  // blank lines are allowed
    const size_t tab = line.rfind('\t');
    int rank = 0;
    const char* rankEnd = line.data() + line.size();
    const char* why = nullptr;
    if (tab == std::string_view::npos ||
        std::from_chars(line.data() + tab + 1, rankEnd, rank).ptr != rankEnd ||
        rank < kMostCommon || rank > kRarest) {
      why = "not an entry, a tab and a rank from 1 to 100";
    } else if (tab == 0 || tab > kMaxEntry || !cp1252::fromUtf8(line.substr(0, tab), entry)) {
      why = "no entry, or one that a dictionary cannot hold";
    } else {
      set(entry, static_cast<uint8_t>(rank));
    }
    if (why) skipped.push_back("line " + std::to_string(number) + ": " + why);
  }
  return Status();
}

namespace {

// The table of `entries` in `slots` slots, each within kMaxProbe slots of its own; empty when one
// would lie further.
std::vector<uint8_t> placeEntries(const std::vector<std::pair<std::string, uint8_t>>& entries,
                                  uint32_t slots, std::string& text) {
  std::vector<uint8_t> table(size_t{slots} * kSlotSize, 0);
  text.clear();
  for (const auto& [entry, rank] : entries) {
    const uint64_t hash = hashOf(entry);
    uint32_t i = static_cast<uint32_t>(hash) & (slots - 1);
    for (uint32_t probe = 0; decodeU32(&table[size_t{i} * kSlotSize + 8]) != 0; ++probe) {
      if (probe + 1 >= CommonnessRanks::kMaxProbe) return {};
      i = (i + 1) & (slots - 1);
    }
    uint8_t* slot = &table[size_t{i} * kSlotSize];
    encodeU64(slot, hash);
    encodeU32(slot + 8, static_cast<uint32_t>(text.size() + 1));
    slot[12] = static_cast<uint8_t>(entry.size());
    slot[13] = static_cast<uint8_t>(entry.size() >> 8);
    slot[14] = rank;
    text += entry;
  }
  return table;
}

}  // namespace

Status CommonnessRanks::write(std::FILE* file, const DictionaryFingerprint& tie) const {
  const std::vector<std::pair<std::string, uint8_t>> entries = all();
  // At most two slots in three taken, and more where a run of taken slots would grow too long.
  uint32_t slots = 16;
  while (slots < kMaxSlots && uint64_t{slots} * 2 < entries.size() * 3) slots *= 2;
  std::string text;
  std::vector<uint8_t> table;
  for (; uint64_t{slots} * 2 >= entries.size() * 3 && slots <= kMaxSlots; slots *= 2) {
    table = placeEntries(entries, slots, text);
    if (!table.empty()) break;
  }
  if (table.empty()) return Status::failed(Status::Code::kUnwritable, "too many ranked entries");
  uint8_t header[kHeaderSize];
  std::memcpy(header, kTag, 4);
  encodeU32(header + 4, static_cast<uint32_t>(table.size() / kSlotSize));
  encodeU32(header + 8, static_cast<uint32_t>(entries.size()));
  encodeU32(header + 12, static_cast<uint32_t>(text.size()));
  encodeU64(header + 16, tie.size);
  encodeU64(header + 24, tie.headChecksum);
  if (std::fwrite(header, 1, sizeof header, file) != sizeof header ||
      std::fwrite(table.data(), 1, table.size(), file) != table.size() ||
      std::fwrite(text.data(), 1, text.size(), file) != text.size()) {
    return Status::failed(Status::Code::kUnwritable, fileErrorText(errno));
  }
  return Status();
}

}  // namespace qel
