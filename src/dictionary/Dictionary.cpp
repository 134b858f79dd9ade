// Opening a dictionary file: every step checked in order, every read of the exact size it asks for,
// so a short or corrupt header leaves the dictionary invalid with its error text.
#include "dictionary/Dictionary.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <vector>

#include "dictionary/ByteOrder.h"
#include "platform/FileAccess.h"

namespace qel {
namespace {

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

bool readExact(std::FILE* f, void* buffer, size_t size) {
  return std::fread(buffer, 1, size, f) == size;
}

bool readU16(std::FILE* f, uint16_t& v) {
  uint8_t b[2];
  if (!readExact(f, b, 2)) return false;
  v = decodeU16(b);
  return true;
}

bool readU32(std::FILE* f, uint32_t& v) {
  uint8_t b[4];
  if (!readExact(f, b, 4)) return false;
  v = decodeU32(b);
  return true;
}

bool readTable(std::FILE* f, Dictionary::Table& table, int n) {
  table.fill(0);
  uint8_t b[4 * format::kMaxSlots];
  if (!readExact(f, b, 4 * static_cast<size_t>(n))) return false;
  for (int i = 0; i < n; ++i) table[i] = decodeU32(b + 4 * i);
  table[0] = 0;
  return true;
}

}  // namespace

bool fileWriteTime(const std::string& path, int64_t& time) {
  std::error_code ec;
  const auto t = std::filesystem::last_write_time(path, ec);
  if (ec) return false;
  time = static_cast<int64_t>(t.time_since_epoch().count());
  return true;
}

Dictionary::~Dictionary() { dropDecodedSections(); }

void Dictionary::dropDecodedSections() {
  for (auto& section : m_decoded) {
    if (section) decoded_sections::release(section->heapBytes);
    section.reset();
  }
  m_decodedSource = nullptr;
  m_sourceAsked = 0;
}

std::shared_ptr<const DecodedSection> Dictionary::decodedSection(int length) const {
  if (!m_valid || length <= 0 || length >= m_slotCount) return nullptr;
  const uint32_t bit = uint32_t{1} << length;
  if (!m_decoded[length] && m_decodedSource && !(m_sourceAsked & bit)) {
    m_sourceAsked |= bit;
    m_decoded[length] = m_decodedSource(length);
  }
  return m_decoded[length];
}

void Dictionary::setDecodedSource(DecodedSource source) {
  if (!m_valid) return;
  m_decodedSource = std::move(source);
  m_sourceAsked = 0;
}

bool Dictionary::keepDecodedSection(int length, std::shared_ptr<const DecodedSection> section) {
  if (!m_valid || length <= 0 || length >= m_slotCount || !section || m_decoded[length]) {
    return false;
  }
  if (!decoded_sections::reserve(section->heapBytes)) return false;
  m_decoded[length] = std::move(section);
  return true;
}

void Dictionary::reset(const std::string& path) {
  dropDecodedSections();
  m_valid = m_invalidated = m_read = false;
  m_status = Status();
  ++m_generation;
  m_fileTime = 0;
  m_path = path;
  m_scores.clear();
  for (auto& starts : m_referenceGroupStarts) std::vector<uint32_t>().swap(starts);
  m_description = kInvalidDictionaryText;
}

Status Dictionary::open(const std::string& path, bool loadScores) {
  if (m_valid && path == m_path) return m_status;
  reset(path);
  m_loadScores = loadScores;
  if (path.empty()) {
    m_status = Status::fromFileError(ENOENT);
    return m_status;
  }
  m_status = read(path);
  m_valid = m_status.ok();
  return m_status;
}

bool Dictionary::recheck() {
  FileIdentity now;
  if (m_read && regularFileIdentity(m_path, now) == 0 && now == m_identity) return m_valid;
  const std::string path = m_path;
  reset(std::string());
  return open(path, m_loadScores).ok();
}

Status Dictionary::read(const std::string& path) {
  // A FIFO, a device or a folder is no dictionary, and reading one could wait for ever.
  int error = 0;
  FileIdentity identity;
  File file(openRegularFile(path, error, &identity));
  int64_t time = 0;
  if (file && !fileWriteTime(path, time)) error = ENOENT;  // gone since it was opened
  if (!file || error != 0) {
    if (error == ENOENT) {
      m_description = kDictionaryNotFoundText;
    } else if (error == kNotRegularFile) {
      m_description = kInvalidDictionaryText;
    } else {
      m_description = kDictionaryUnreadableText + fileErrorText(error) + " --";
    }
    std::error_code ignored;
    return Status::fromFileError(error, std::filesystem::is_directory(path, ignored));
  }
  if (identity.size == 0) return Status::invalid("The file is empty.");
  std::FILE* f = file.get();

  const Status notADictionary = Status::invalid("Its contents are not those of a dictionary.");
  const Status damagedHeader = Status::invalid("Its header is damaged or cut short.");
  const Status damagedAlphabet = Status::invalid("Its alphabet or its code table is damaged.");
  char tag[4];
  if (!readExact(f, tag, 4)) return notADictionary;
  if (std::memcmp(tag, format::kTagVersion1, 4) == 0) {
    m_version = 1;
  } else if (std::memcmp(tag, format::kTagVersion0, 4) == 0) {
    m_version = 0;
  } else {
    return notADictionary;
  }

  uint16_t n = 0;
  if (!readU16(f, n)) return damagedHeader;
  // The tables have 32 slots: a larger slot count cannot be held, and none means no slot 0.
  if (n < 1 || n > format::kMaxSlots) return damagedHeader;
  m_slotCount = n;

  size_t descriptionWidth = format::kDescriptionSizeV0;
  if (m_version == 1) {
    if (!readU32(f, m_region1Start) || !readU32(f, m_region2Start) ||
        !readU32(f, m_definitionsEnd) || !readTable(f, m_indexTableOffset, n) ||
        !readTable(f, m_entryReferenceOffset, n) || !readTable(f, m_entryReferenceCount, n)) {
      return damagedHeader;
    }
    descriptionWidth = format::kDescriptionSize;
  } else {
    m_region1Start = m_region2Start = m_definitionsEnd = 0;
    m_indexTableOffset.fill(0xFFFFFFFFu);
    m_entryReferenceOffset.fill(0xFFFFFFFFu);
    m_entryReferenceCount.fill(0);
    m_indexTableOffset[0] = m_entryReferenceOffset[0] = 0;
  }
  if (!readTable(f, m_sectionOffset, n) || !readTable(f, m_entryCount, n)) return damagedHeader;

  char description[format::kDescriptionSize];
  if (!readExact(f, description, descriptionWidth)) return damagedHeader;
  // Version 1 writes a NUL within the field; version 0 files may fill all 80 bytes with text.
  const void* nul = std::memchr(description, 0, descriptionWidth);
  if (nul == nullptr && m_version > 0) return damagedHeader;  // the text would run past its field
  const size_t descriptionSize =
      nul ? static_cast<size_t>(static_cast<const char*>(nul) - description) : descriptionWidth;

  uint16_t s = 0, t = 0;
  if (!readU16(f, s) || !readU16(f, t)) return damagedHeader;
  const int active = static_cast<int16_t>(s), total = static_cast<int16_t>(t);
  if (active <= 0 || active >= 254 || total <= 0 || total >= 254 || active > total)
    return damagedHeader;

  uint8_t records[format::kSymbolCount * format::kSymbolRecordSize];
  if (!readExact(f, records, sizeof records)) return damagedAlphabet;
  Alphabet alphabet;
  alphabet.letterIndex.fill(kNotALetter);
  alphabet.character.fill('!');
  alphabet.active = active;
  alphabet.total = total;
  m_decoder.clear();
  m_decoderTablesBuilt = false;
  for (int i = 0; i < format::kSymbolCount; ++i) {
    const uint8_t* r = records + i * format::kSymbolRecordSize;
    const uint8_t canonical = r[0];
    const int length = r[1];
    const int index = decodeI16(r + 2);
    const uint32_t code = decodeU32(r + 4);
    if (length > 0 && !m_decoder.insert(i, code, length)) return damagedAlphabet;
    if (index >= 0) {
      if (index >= total) return damagedAlphabet;  // a letter outside the alphabet
      alphabet.letterIndex[i] = static_cast<uint8_t>(index);
      alphabet.character[index] = canonical;
      m_decoder.setLetterIndex(i, static_cast<uint8_t>(index));
    }
    alphabet.canonical[i] = canonical;
  }
  // Entries are ended by symbol 0; a stream that cannot end an entry is unreadable.
  if (m_decoder.node(0).codeLength == 0) return damagedAlphabet;
  if (const Status fits = sectionsFit(identity.size, records); !fits.ok()) return fits;

  if (m_loadScores) {
    uint16_t count = 0;
    if (!readU16(f, count)) return Status::invalid("Its letter scores are cut short.");
    m_scores.resize(static_cast<size_t>(count) * active);
    if (!m_scores.empty() && !readExact(f, m_scores.data(), m_scores.size()))
      return Status::invalid("Its letter scores are cut short.");
  }

  if (!fingerprintOf(f, m_fingerprint)) return Status::fromFileError(EIO);

  m_alphabet = alphabet;
  m_description.assign(description, descriptionSize);
  m_fileTime = time;
  m_identity = identity;
  m_read = true;
  return Status();
}

// Every table's place lies inside the file, and each length's entry stream has room for at least
// its entries at the shortest codes: a file cut short, or tables pointing past its end, is refused
// here instead of yielding part of its entries.
Status Dictionary::sectionsFit(uint64_t fileSize, const uint8_t* records) const {
  const Status cut =
      Status::invalid("Its length sections do not fit the file: it is cut short or damaged.");
  if (m_definitionsEnd > fileSize || m_region1Start > m_region2Start ||
      m_region2Start > m_definitionsEnd)
    return cut;
  int shortestLetterCode = 32;
  for (int i = 0; i < format::kSymbolCount; ++i) {
    const uint8_t* r = records + i * format::kSymbolRecordSize;
    if (r[1] > 0 && decodeI16(r + 2) >= 0)
      shortestLetterCode = std::min<int>(shortestLetterCode, r[1]);
  }
  const uint64_t endCode = m_decoder.node(0).codeLength;
  // Where a structure of the file starts: a stream ends at the first one after its own start.
  std::vector<uint64_t> starts = {fileSize};
  for (int length = 1; length < m_slotCount; ++length) {
    const uint64_t references = m_version > 0 ? m_entryReferenceOffset[length] : 0;
    if (m_sectionOffset[length] > fileSize || m_sectionOffset[length] < m_sectionOffset[length - 1])
      return cut;
    if (references != 0 && (references > fileSize ||
                            uint64_t{m_entryReferenceCount[length]} * 4 > fileSize - references))
      return cut;
    if (m_version > 0 && m_indexTableOffset[length] != 0 && m_indexTableOffset[length] >= fileSize)
      return cut;
    starts.push_back(m_sectionOffset[length]);
    if (references != 0) starts.push_back(references);
    if (m_version > 0 && m_indexTableOffset[length] != 0)
      starts.push_back(m_indexTableOffset[length]);
  }
  std::sort(starts.begin(), starts.end());
  for (int length = 1; length < m_slotCount; ++length) {
    if (m_entryCount[length] == 0) continue;
    const uint64_t start = m_sectionOffset[length];
    if (start >= fileSize) return cut;
    const uint64_t end = *std::upper_bound(starts.begin(), starts.end(), start);
    // Each entry: its letters, its end and (version 1) its flag; then the group ends.
    const uint64_t perEntry =
        static_cast<uint64_t>(shortestLetterCode) * length + endCode + (m_version > 0);
    const uint64_t bits = m_entryCount[length] * perEntry + endCode * (m_version > 0 ? 2 : 1);
    if ((bits + 7) / 8 > end - start) return cut;
  }
  return Status();
}

void Dictionary::invalidate() {
  if (!m_valid) return;
  dropDecodedSections();
  m_valid = false;
  m_invalidated = true;
  m_description = kInvalidDictionaryText;
}

void Dictionary::markDamaged() {
  if (!m_valid) return;
  invalidate();
  m_status = Status::invalid("Its entries are cut short or damaged.");
}

int8_t Dictionary::score(int length, int position, int letter) const {
  if (length < 1 || length >= m_slotCount || position < 0 || position >= length || letter < 0 ||
      letter >= m_alphabet.active) {
    return format::kNoScore;
  }
  const size_t block = static_cast<size_t>((length - 1) * length / 2 + position);
  const size_t at = block * m_alphabet.active + letter;
  return at < m_scores.size() ? m_scores[at] : format::kNoScore;
}

}  // namespace qel
