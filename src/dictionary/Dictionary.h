// One open dictionary file: its header tables, alphabet and decoding tables, read once per open and
// re-read when the file changes on disk. Entry streams and definitions stay on disk.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "dictionary/Alphabet.h"
#include "dictionary/DecodedSection.h"
#include "dictionary/DecodingTable.h"
#include "dictionary/DictionaryFingerprint.h"
#include "dictionary/FileFormat.h"
#include "platform/FileAccess.h"
#include "platform/Status.h"

namespace qel {

// After the path of a file that is no dictionary, and before the reason.
inline constexpr char kNotAValidDictionaryText[] = "is not a valid QEL&Corvanth Dictionary File";
// After the path of a dictionary that was valid when opened and is found invalid later.
inline constexpr char kNoLongerValidDictionaryText[] =
    "is no longer a valid QEL&Corvanth Dictionary File";
inline constexpr char kInvalidDictionaryText[] = "-- INVALID DICTIONARY FILE --";
inline constexpr char kDictionaryNotFoundText[] = "-- DICTIONARY FILE NOT FOUND --";
// Followed by the reason in the system's words and " --".
inline constexpr char kDictionaryUnreadableText[] = "-- DICTIONARY FILE CANNOT BE READ: ";

class Dictionary {
 public:
  using Table = std::array<uint32_t, format::kMaxSlots>;

  Dictionary() = default;
  ~Dictionary();
  Dictionary(const Dictionary&) = delete;
  Dictionary& operator=(const Dictionary&) = delete;

  // Opens and validates `path`: ok when the file is a valid dictionary, else why it is not.
  // Opening the path that is already open and valid does not touch the file. An empty path leaves
  // the dictionary invalid.
  Status open(const std::string& path, bool loadScores);
  // Re-reads the file when it changed since it was read (another file under the name, another
  // size or last-write time) or vanished.
  bool recheck();

  bool valid() const { return m_valid; }
  // Why the file is not a valid dictionary, as the last reading found; ok when it is, or when it
  // was only invalidated (see invalidated()).
  const Status& status() const { return m_status; }
  // True once a reader found the file changed or cut short while this dictionary was being read:
  // the dictionary is then invalid, and what was read from it may be mixed or partial. Cleared
  // when the file is read again.
  bool invalidated() const { return m_invalidated; }
  void invalidate();
  // Invalidates it for damage a reader found in its entries, which status() then gives as the
  // reason.
  void markDamaged();
  // What was opened: compared with every later handle on the file and at every recheck.
  const FileIdentity& identity() const { return m_identity; }
  // The fingerprint of the file as it was read, which ties files made from it to its contents.
  const DictionaryFingerprint& fingerprint() const { return m_fingerprint; }
  // Changes whenever the file is read again, after which earlier positions and letter numbers
  // of this dictionary no longer hold.
  uint32_t generation() const { return m_generation; }
  const std::string& path() const { return m_path; }
  // The description, or the error text of an invalid dictionary.
  const std::string& description() const { return m_description; }
  int64_t fileTime() const { return m_fileTime; }

  int version() const { return m_version; }
  int slotCount() const { return m_slotCount; }
  uint32_t region1Start() const { return m_region1Start; }
  uint32_t region2Start() const { return m_region2Start; }
  uint32_t definitionsEnd() const { return m_definitionsEnd; }
  const Table& indexTableOffset() const { return m_indexTableOffset; }
  const Table& entryReferenceOffset() const { return m_entryReferenceOffset; }
  const Table& entryReferenceCount() const { return m_entryReferenceCount; }
  const Table& sectionOffset() const { return m_sectionOffset; }
  const Table& entryCount() const { return m_entryCount; }

  const Alphabet& alphabet() const { return m_alphabet; }
  // Its one-lookup tables are built on first use: a search that replays kept sections decodes
  // nothing.
  const DecodingTable& decoder() const {
    if (!m_decoderTablesBuilt) {
      m_decoder.buildTable();
      m_decoderTablesBuilt = true;
    }
    return m_decoder;
  }
  // Letter-position score of letter index k at position p of length L, kNoScore when unknown.
  int8_t score(int length, int position, int letter) const;

  // Group starts of the entry-group reference table of `length` (file offsets of the first value
  // of each reference group), built on first use by the definitions retrieval; empty until then.
  // Emptied whenever the file is read again.
  std::vector<uint32_t>& referenceGroupStarts(int length) { return m_referenceGroupStarts[length]; }

  // The section of `length` as decoded by a complete enumeration, or null. Kept until the file is
  // read again; keepDecodedSection() keeps one when the process budget allows (false if not).
  std::shared_ptr<const DecodedSection> decodedSection(int length) const;
  bool keepDecodedSection(int length, std::shared_ptr<const DecodedSection> section);
  // Where sections not kept yet come from, asked once per length (a side file made by an earlier
  // process). It answers for the file as read now and is dropped with the kept sections.
  using DecodedSource = std::function<std::shared_ptr<const DecodedSection>(int length)>;
  void setDecodedSource(DecodedSource source);

  // Use count of the shared pool (number of list places naming this dictionary).
  int useCount = 0;

 private:
  void reset(const std::string& path);
  Status read(const std::string& path);
  Status sectionsFit(uint64_t fileSize, const uint8_t* symbolRecords) const;
  void dropDecodedSections();

  std::string m_path;
  bool m_valid = false;
  bool m_invalidated = false;
  Status m_status;
  bool m_loadScores = false;
  int64_t m_fileTime = 0;
  FileIdentity m_identity;  // of the file read, when m_read
  DictionaryFingerprint m_fingerprint;
  bool m_read = false;
  uint32_t m_generation = 0;
  std::string m_description = kInvalidDictionaryText;
  int m_version = 0;
  int m_slotCount = 0;
  uint32_t m_region1Start = 0, m_region2Start = 0, m_definitionsEnd = 0;
  Table m_indexTableOffset{}, m_entryReferenceOffset{}, m_entryReferenceCount{};
  Table m_sectionOffset{}, m_entryCount{};
  Alphabet m_alphabet;
  mutable DecodingTable m_decoder;
  mutable bool m_decoderTablesBuilt = false;
  std::vector<int8_t> m_scores;  // blocks of S bytes for (L, p), L = 1..N-1, p = 0..L-1
  mutable std::array<std::shared_ptr<const DecodedSection>, format::kMaxSlots> m_decoded;
  DecodedSource m_decodedSource;
  mutable uint32_t m_sourceAsked = 0;  // bit L: the source was asked for length L
  std::array<std::vector<uint32_t>, format::kMaxSlots> m_referenceGroupStarts;
};

// Last-write time of a file in nanoseconds of the file clock; false when it cannot be read.
bool fileWriteTime(const std::string& path, int64_t& time);

}  // namespace qel
