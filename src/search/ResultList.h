// The data of one results pane: records kept in one of seven orders in blocks of at most 511, a
// hash index of their folded letters for duplicate tests, a one-record cursor and the selection.
#pragma once

#include <cstdint>
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
  static constexpr size_t kFirstHashBuckets = 997;  // the index doubles (plus one) as it fills

  ResultList();

  void clear();
  void setOrder(ResultOrder order, bool keepIndex);
  ResultOrder order() const { return m_order; }

  // Stores entry + annotation + balance (either may be empty) cut to 255 characters. Returns the
  // new record's index, or -1 when the list is full or memory ran out; the list is then exactly
  // as it was before the call.
  long add(std::string_view entry, std::string_view annotation, std::string_view balance,
           int32_t definitionNumber);
  // Whether an add() since the last clear() failed for want of memory: every record the list
  // counts is there, but results are missing, which the user must be told.
  bool outOfMemory() const { return m_outOfMemory; }
  // Whether the list holds an entry with the same folded letters.
  bool contains(std::string_view entry) const;

  // Puts the records in the order `order` gives (every index once), as a list kept in the order
  // found: a later add() goes to the end. The selection is cleared and every row counts as
  // changed. False, with the list as it was, when memory ran out.
  bool arrange(const std::vector<long>& order);

  long count() const { return m_count; }
  // Record i, or null outside 0..count-1; valid until the next insertion. Asking for i + 1 right
  // after i costs one step.
  const ResultRecord* record(long i) const;
  int blockCount() const { return static_cast<int>(m_blocks.size()); }
  int blockSize(int block) const { return static_cast<int>(m_blocks[block].size()); }

  ResultSelection& selection() { return m_selection; }
  const ResultSelection& selection() const { return m_selection; }
  // The text of every selected record in list order, as the clipboard gets it: each record followed
  // by lineEnd when more than one is selected.
  std::string selectedText(std::string_view lineEnd = "\r\n") const;

  // What changed since the last call, for a window that shows the list and repaints only that:
  // whether the list was cleared, and the first row whose record may differ from what was shown
  // (an insertion moves every row after it; count() when nothing was added).
  struct Changes {
    bool cleared;
    long firstRow;
  };
  Changes takeChanges();

 private:
  using Block = std::vector<ResultRecord>;
  // Where a new record goes: its block, its place in the block and its index in the list.
  struct Place {
    size_t block;
    size_t position;
    long index;
  };
  // One entry of the duplicate index: the entry's text, the next node of its bucket (plus one, 0
  // ends the chain), and the top 24 bits of its letter hash above its length.
  struct IndexNode {
    const char* text;
    uint32_t next;
    uint32_t hashAndLength;
  };

  // add() in two halves: everything that can fail for want of memory comes first and changes
  // nothing the list shows; what follows cannot fail.
  long insert(std::string_view entry, std::string_view annotation, std::string_view balance,
              int32_t definitionNumber);
  Place placeOrdered(std::string_view entry, int letters, uint64_t key) const;
  // Copies text into the list's storage, which never moves what it holds, and answers where it
  // went (and in which chunk); the space is taken only by commitText().
  char* prepareText(std::string_view entry, std::string_view annotation, std::string_view balance,
                    size_t size, size_t* chunk);
  void commitText(size_t chunk, size_t size);
  void prepareSpareBlock();
  void prepareIndex();
  // The steps after the preparation, none of which allocates.
  Block takeSpareBlock();
  void appendBlock(Block block);
  void split(size_t block);
  void indexEntry(std::string_view entry);

  // Records before each ordered block, as a Fenwick tree over the blocks, so that an insertion
  // finds its index, and a jump its block, without summing every block before it.
  void rebuildBlockTree();
  void growBlock(size_t block, long records);
  long recordsBefore(size_t block) const;
  size_t blockHolding(long index, long* start) const;

  static constexpr size_t kChunkSize = 64 * 1024;
  std::vector<std::unique_ptr<char[]>> m_chunks;
  size_t m_chunk = 0;  // the chunk being filled
  size_t m_chunkUsed = 0;
  std::vector<Block> m_blocks;
  std::vector<Block> m_spareBlocks;  // emptied blocks, ready for reuse
  std::vector<long> m_blockTree;
  // orderKey() of each ordered block's last record: the search for a block reads these, in one
  // array, instead of a record and a text in a different place for every step.
  std::vector<uint64_t> m_tailKeys;
  long m_count = 0;
  ResultOrder m_order = ResultOrder::Discovery;
  bool m_keepIndex = false;
  bool m_outOfMemory = false;
  bool m_cleared = false;           // since the last takeChanges()
  long m_changedFrom = 0;           // lowest index inserted since the last takeChanges()
  std::vector<uint32_t> m_buckets;  // first node of each bucket, plus one
  std::vector<IndexNode> m_nodes;
  // The cursor: the last record asked for, by block and position.
  mutable long m_cursorIndex = -1;
  mutable size_t m_cursorBlock = 0;
  mutable size_t m_cursorPosition = 0;
  ResultSelection m_selection;
};

}  // namespace qel
