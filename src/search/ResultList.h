// The data of one results pane: records kept in one of seven orders in blocks of at most 511, a
// hash index of their folded letters for duplicate tests, a one-record cursor and the selection.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "search/ResultRecord.h"
#include "search/ResultSelection.h"

namespace qel {

class ResultList {
 public:
  static constexpr long kMaxCount = 2147483640L;
  static constexpr int kBlockLimit = 511;  // records of an ordered block once an insertion is done
  static constexpr int kHashBuckets = 997;

  ResultList();

  void clear();
  void setOrder(ResultOrder order, bool keepIndex);
  ResultOrder order() const { return m_order; }

  // Stores entry + annotation + balance (either may be empty) cut to 255 characters. Returns the
  // new record's index, or -1 when the list is full.
  long add(std::string_view entry, std::string_view annotation, std::string_view balance,
           int32_t definitionNumber);
  // Whether the list holds an entry with the same folded letters.
  bool contains(std::string_view entry) const;

  long count() const { return m_count; }
  // Record i, or null outside 0..count-1; valid until the next insertion. Asking for i + 1 right
  // after i costs one step.
  const ResultRecord* record(long i) const;
  int blockCount() const { return static_cast<int>(m_blocks.size()); }
  int blockSize(int block) const { return static_cast<int>(m_blocks[block].size()); }

  ResultSelection& selection() { return m_selection; }
  const ResultSelection& selection() const { return m_selection; }
  // The text of every selected record in list order, as the clipboard gets it.
  std::string selectedText() const;

 private:
  using Block = std::vector<ResultRecord>;
  long insertOrdered(const ResultRecord& record);
  // Copies text into the list's storage, which never moves what it holds.
  std::string_view store(std::string_view entry, std::string_view annotation,
                         std::string_view balance);

  Block& newBlock(std::vector<Block>::iterator at);

  static constexpr size_t kChunkSize = 64 * 1024;
  std::vector<std::unique_ptr<char[]>> m_chunks;
  size_t m_chunk = 0;  // the chunk being filled
  size_t m_chunkUsed = 0;
  std::vector<Block> m_blocks;
  std::vector<Block> m_spareBlocks;  // emptied blocks of an earlier search, ready for reuse
  long m_count = 0;
  ResultOrder m_order = ResultOrder::Discovery;
  bool m_keepIndex = false;
  std::array<std::vector<std::string_view>, kHashBuckets> m_buckets;  // entries by letter hash
  // The cursor: the last record asked for, by block and position.
  mutable long m_cursorIndex = -1;
  mutable size_t m_cursorBlock = 0;
  mutable size_t m_cursorPosition = 0;
  ResultSelection m_selection;
};

}  // namespace qel
