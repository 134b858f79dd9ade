// How common each entry of a dictionary is, from a companion file beside it ("words.qcd" ->
// "words.qcr"). Ranks run from 1 (the most common words) to 100; the default dictionary's follow
// the word list's size levels (10, 20, 35 ... 95). An entry the file does not name has the rarest
// rank. The dictionary file itself never changes for ranks: without the companion file every
// entry is unranked and everything behaves as it did before ranks existed.
//
// The companion file is a hash table, memory-mapped and used as it is, so that a search pays
// nothing to open it: a 16-byte header ("QCR1", then the slot count, a power of two, the entry
// count and the bytes of text, each a little-endian uint32), the slots (16 bytes each: the
// entry's hash, XXH3 of 64 bits; the offset of its text plus one, 0 for an empty slot, as a
// uint32; its length as a uint16; its rank; a zero byte), then the entries' texts in code page
// 1252. A slot holds the entry whose hash picks it, or the next slot after a taken one. Every
// offset and length is checked against the file before it is read.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/Status.h"

namespace qel {

class MappedFile;

class CommonnessRanks {
 public:
  static constexpr uint8_t kMostCommon = 1;
  static constexpr uint8_t kRarest = 100;

  CommonnessRanks();
  ~CommonnessRanks();
  CommonnessRanks(CommonnessRanks&&) noexcept;
  CommonnessRanks& operator=(CommonnessRanks&&) noexcept;

  // The companion file of the dictionary at `dictionaryPath`.
  static std::string pathFor(const std::string& dictionaryPath);

  // Maps the companion file of a dictionary. A missing file is no error: every entry is then
  // unranked. A failure when the file cannot be read or is not a ranks file.
  Status loadFor(const std::string& dictionaryPath);
  // Adds the ranks of a text file of "entry<TAB>rank" lines (UTF-8), as "qel-cli build --ranks"
  // takes them. A line that is not of that form, or whose rank is not 1 to 100, is skipped and
  // listed in `skipped` ("line 3: ..."). A failure when the file cannot be read.
  Status addText(const std::string& path, std::vector<std::string>& skipped);
  // Writes every rank held as a companion file, replaced only once complete. A failure when it
  // cannot be written.
  Status save(const std::string& path) const;
  // What every program that writes a dictionary does as it finishes: the ranks go beside it, or,
  // when there are none, an old dictionary's ranks there are removed with it.
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
  uint8_t mappedRankOf(std::string_view entry, uint64_t hash) const;

  std::shared_ptr<const MappedFile> m_file;  // the companion file, once checked
  uint32_t m_slotCount = 0;
  std::unordered_map<std::string, uint8_t> m_added;  // ranks set since
};

}  // namespace qel
