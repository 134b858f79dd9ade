// How common each entry of a dictionary is, from a companion file beside it ("words.qcd" ->
// "words.qcr"). Ranks run from 1 (the most common words) to 100; the default dictionary's follow
// the word list's size levels (10, 20, 35 ... 95). An entry the file does not name has the rarest
// rank. The dictionary file itself never changes for ranks: without the companion file every
// entry is unranked and everything behaves as it did before ranks existed.
//
// The companion file is a hash table, memory-mapped and used as it is, so that a search pays
// nothing to open it: a 32-byte header ("QCR2", then the slot count, a power of two, the entry
// count and the bytes of text, each a little-endian uint32, then the fingerprint of the dictionary
// the ranks were written for: its size and head checksum, each a little-endian uint64), the slots
// (16 bytes each: the entry's hash, XXH3 of 64 bits; the offset of its text plus one, 0 for an
// empty slot, as a uint32; its length as a uint16; its rank; a zero byte), then the entries' texts
// in code page 1252. A slot holds the entry whose hash picks it, or one of the next kMaxProbe - 1
// slots after it; at most two slots in three are taken. Every offset and length is checked against
// the file before it is read. A file whose fingerprint is not the dictionary's is never used.
// Files of the first version ("QCR1", a 16-byte header without the fingerprint) are still read.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "dictionary/DictionaryFingerprint.h"
#include "platform/FileReplacement.h"
#include "platform/Status.h"

namespace qel {

class MappedFile;
class RanksReplacement;

class CommonnessRanks {
 public:
  static constexpr uint8_t kMostCommon = 1;
  static constexpr uint8_t kRarest = 100;
  // Slots a lookup reads at most: the writer places every entry within them of its own slot.
  static constexpr uint32_t kMaxProbe = 32;

  CommonnessRanks();
  ~CommonnessRanks();
  CommonnessRanks(CommonnessRanks&&) noexcept;
  CommonnessRanks& operator=(CommonnessRanks&&) noexcept;

  // The companion file of the dictionary at `dictionaryPath`.
  static std::string pathFor(const std::string& dictionaryPath);

  // Maps the companion file of a dictionary. A missing file is no error: every entry is then
  // unranked. A failure, whose reason names the ranks file, when it cannot be read, is not a ranks
  // file or belongs to another dictionary.
  Status loadFor(const std::string& dictionaryPath);
  // Adds the ranks of a text file of "entry<TAB>rank" lines (UTF-8), as "qel-cli build --ranks"
  // takes them. A line that is not of that form, or whose rank is not 1 to 100, is skipped and
  // listed in `skipped` ("line 3: ..."). A failure when the file cannot be read.
  Status addText(const std::string& path, std::vector<std::string>& skipped);
  // Puts the ranks beside the dictionary at `dictionaryPath`, for its contents as they are now, or,
  // when there are none, removes the ranks there. A program that writes a dictionary puts its ranks
  // in place with it instead (RanksReplacement).
  Status saveFor(const std::string& dictionaryPath) const;

  // The rank of an entry (its text in code page 1252, without annotation): kRarest when unranked.
  uint8_t rankOf(std::string_view entry) const;
  // The rank of several entries written one after another with blanks between them (a phrase
  // anagram): the rank of the rarest.
  uint8_t rankOfWords(std::string_view words) const;
  // Asks the processor for the table slot of `entry` ahead of its rankOf(): a caller looking up
  // many entries in turn hides the wait for memory behind the work on the others.
  void prefetch(std::string_view entry) const;
  // Sets a rank, keeping the commoner of two ranks given for one entry (merged lists).
  void set(std::string_view entry, uint8_t rank);
  // Every entry with its rank, mapped or set.
  std::vector<std::pair<std::string, uint8_t>> all() const;
  bool empty() const;

 private:
  friend class RanksReplacement;
  uint8_t mappedRankOf(std::string_view entry, uint64_t hash) const;
  // Writes every rank held, for the dictionary `tie`, to `file`. A failure when it cannot.
  Status write(std::FILE* file, const DictionaryFingerprint& tie) const;

  std::shared_ptr<const MappedFile> m_file;  // the companion file, once checked
  const uint8_t* m_slots = nullptr;          // its table
  uint32_t m_slotCount = 0;
  std::unordered_map<std::string, uint8_t> m_added;  // ranks set since
};

// A dictionary's ranks, written under a temporary name beside it before the dictionary itself is
// replaced, and put in place right after it: a build that fails or is stopped before then leaves
// the old dictionary with its own ranks, and one stopped between the two renames leaves the new
// dictionary with ranks tied to the old one, which are not used.
class RanksReplacement {
 public:
  // Writes `ranks` for the dictionary whose new contents have the fingerprint `tie` and that will
  // be at `dictionaryPath`. With no ranks nothing is written, and commit() removes the old ones.
  Status begin(const CommonnessRanks& ranks, const std::string& dictionaryPath,
               const DictionaryFingerprint& tie);
  Status commit();
  void discard() { m_file.discard(); }

 private:
  FileReplacement m_file;
  std::string m_path;
  bool m_remove = false;
};

}  // namespace qel
