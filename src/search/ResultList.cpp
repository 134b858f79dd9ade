// Ordered insertion finds its block by a binary search over the block tails (which are in order)
// and its place in the block by another, and moves at most 511 records of sixteen bytes; a block
// that reaches 512 is split in halves. A Fenwick tree over the block sizes turns a place into an
// index and back, and the duplicate index grows with the list, so every insertion and every
// duplicate test costs about the same with millions of results as with a hundred.
#include "search/ResultList.h"

#include <algorithm>
#include <bit>
#include <new>

#include "pattern/FoldedCompare.h"

namespace qel {
namespace {

// FNV-1a over the folded letters. folded::hash keeps too little of a short word for a table of
// millions (words of up to ten letters share fewer than 2^17 values).
uint32_t letterHash(std::string_view entry) {
  uint64_t h = 14695981039346656037ULL;
  for (char c : entry) {
    const uint8_t f = folded::fold(static_cast<uint8_t>(c));
    if (f != 0) h = (h ^ f) * 1099511628211ULL;
  }
  return static_cast<uint32_t>(h ^ (h >> 32));
}

constexpr uint32_t kHashMask = 0xFFFFFF00u;  // the hash bits an index node keeps

size_t bucketOf(uint32_t hashAndLength, size_t buckets) { return (hashAndLength >> 8) % buckets; }

size_t lowestBit(size_t i) { return i & (~i + 1); }

// The first of the indices 0..n-1 for which `holds` is false, `holds` being true for a prefix.
template <typename Predicate>
size_t firstFailing(size_t n, Predicate holds) {
  size_t first = 0;
  while (n > 0) {
    const size_t half = n / 2;
    if (holds(first + half)) {
      first += half + 1;
      n -= half + 1;
    } else {
      n = half;
    }
  }
  return first;
}

// Room for one more element, growing geometrically so that the appends stay amortised constant.
template <typename T>
void reserveOneMore(std::vector<T>& v) {
  if (v.size() == v.capacity()) v.reserve(std::max<size_t>(16, 2 * v.size()));
}

}  // namespace

ResultList::ResultList() { clear(); }

void ResultList::clear() {
  // The storage of the last search is kept for the next: a search that lists every entry of a
  // big dictionary would otherwise spend a good part of its time getting fresh memory. A block
  // that finds no room among the spares is freed instead, so that clearing cannot fail.
  m_chunk = 0;
  m_chunkUsed = 0;
  try {
    m_spareBlocks.reserve(m_spareBlocks.size() + m_blocks.size());
  } catch (const std::bad_alloc&) {
  }
  for (Block& block : m_blocks) {
    block.clear();
    if (m_spareBlocks.size() < m_spareBlocks.capacity()) m_spareBlocks.push_back(std::move(block));
  }
  m_blocks.clear();
  m_blocks.emplace_back();
  if (!m_spareBlocks.empty()) {
    m_blocks.back() = std::move(m_spareBlocks.back());
    m_spareBlocks.pop_back();
  }
  m_blockTree.assign(1, 0);
  m_tailKeys.assign(1, 0);
  m_count = 0;
  m_buckets.assign(kFirstHashBuckets, 0);
  m_nodes.clear();
  m_cursorIndex = -1;
  m_selection.clear();
  m_outOfMemory = false;
  m_cleared = true;
  m_changedFrom = 0;
}

void ResultList::setOrder(ResultOrder order, bool keepIndex) {
  m_order = order;
  m_keepIndex = keepIndex;
}

long ResultList::add(std::string_view entry, std::string_view annotation, std::string_view balance,
                     int32_t definitionNumber) {
  if (m_count >= kMaxCount) return -1;
  try {
    return insert(entry, annotation, balance, definitionNumber);
  } catch (const std::bad_alloc&) {
    // insert() allocates only before it changes anything, so the list is as it was.
    m_outOfMemory = true;
    return -1;
  }
}

long ResultList::insert(std::string_view entry, std::string_view annotation,
                        std::string_view balance, int32_t definitionNumber) {
  ResultRecord record;
  record.definitionNumber = definitionNumber;
  record.entryLength = static_cast<uint8_t>(std::min(entry.size(), ResultRecord::kMaxText));
  const size_t size =
      std::min(entry.size() + annotation.size() + balance.size(), ResultRecord::kMaxText);
  record.textLength = static_cast<uint8_t>(size);
  record.annotationLength =
      static_cast<uint8_t>(std::min(annotation.size(), size - record.entryLength));
  const bool ordered = m_order != ResultOrder::Discovery;

  // Everything that needs memory comes first and changes nothing the list shows.
  size_t chunk = 0;
  record.textData = prepareText(entry, annotation, balance, size, &chunk);
  uint64_t key = 0;
  if (ordered) {
    record.letterCount = static_cast<uint8_t>(folded::letterCount(record.entry()));
    key = orderKey(record.entry(), record.letterCount, m_order);
  }
  if (m_keepIndex) prepareIndex();
  const Place place = ordered ? placeOrdered(record.entry(), record.letterCount, key)
                              : Place{m_blocks.size() - 1, m_blocks.back().size(), m_count};
  // A full block is split in an ordered list; a discovery list starts a new one after it.
  const bool full = m_blocks[place.block].size() >= static_cast<size_t>(kBlockLimit);
  if (full) {
    prepareSpareBlock();
    reserveOneMore(m_blocks);
    reserveOneMore(m_blockTree);
    if (ordered) reserveOneMore(m_tailKeys);
  }
  if (ordered || !full) m_blocks[place.block].reserve(kBlockLimit + 1);

  // From here on nothing can fail.
  commitText(chunk, size);
  if (!ordered && full) {
    appendBlock(takeSpareBlock());
    m_blocks.back().push_back(record);
    growBlock(m_blocks.size() - 1, 1);
  } else {
    Block& block = m_blocks[place.block];
    if (ordered && place.position == block.size()) m_tailKeys[place.block] = key;
    block.insert(block.begin() + static_cast<long>(place.position), record);
    growBlock(place.block, 1);
    if (ordered && full) split(place.block);
  }
  if (m_keepIndex) indexEntry(record.entry());
  ++m_count;
  m_cursorIndex = -1;
  m_changedFrom = std::min(m_changedFrom, place.index);
  if (ordered) m_selection.rowInserted(static_cast<int>(place.index));
  return place.index;
}

ResultList::Block ResultList::takeSpareBlock() {
  Block block = std::move(m_spareBlocks.back());
  m_spareBlocks.pop_back();
  return block;
}

void ResultList::appendBlock(Block block) {
  const long records = static_cast<long>(block.size());
  m_blocks.push_back(std::move(block));
  // The new node also covers the blocks below it that its range spans.
  const size_t n = m_blockTree.size() + 1;
  m_blockTree.push_back(recordsBefore(n - 1) - recordsBefore(n - lowestBit(n)));
  growBlock(n - 1, records);
}

void ResultList::split(size_t block) {
  constexpr size_t kHalf = (kBlockLimit + 1) / 2;
  Block second = takeSpareBlock();
  Block& first = m_blocks[block];
  second.assign(first.begin() + kHalf, first.end());
  first.resize(kHalf);
  const ResultRecord& tail = first.back();
  m_tailKeys.insert(m_tailKeys.begin() + static_cast<long>(block),
                    orderKey(tail.entry(), tail.letterCount, m_order));
  if (block + 1 == m_blocks.size()) {
    // A scan in list order only ever splits the last block, which needs no rebuilt tree.
    growBlock(block, -static_cast<long>(second.size()));
    appendBlock(std::move(second));
  } else {
    m_blocks.insert(m_blocks.begin() + static_cast<long>(block) + 1, std::move(second));
    rebuildBlockTree();
  }
}

ResultList::Place ResultList::placeOrdered(std::string_view entry, int letters,
                                           uint64_t key) const {
  if (m_count == 0) return {0, 0, 0};
  auto before = [&](const ResultRecord& r) {
    return sortsBefore(entry, letters, r.entry(), r.letterCount, m_order);
  };
  // The tail keys decide without reading the texts of the tails unless they are equal.
  auto notBeforeTail = [&](size_t b) {
    return m_tailKeys[b] < key || (m_tailKeys[b] == key && !before(m_blocks[b].back()));
  };
  // Most scans deliver entries in or near list order, so the end is tried first.
  if (notBeforeTail(m_blocks.size() - 1)) {
    return {m_blocks.size() - 1, m_blocks.back().size(), m_count};
  }
  // After every record it does not sort before, as std::stable_sort would place it.
  const size_t b = firstFailing(m_blocks.size(), notBeforeTail);
  const Block& block = m_blocks[b];
  const auto at = std::partition_point(block.begin(), block.end(),
                                       [&](const ResultRecord& r) { return !before(r); });
  const auto p = static_cast<size_t>(at - block.begin());
  return {b, p, recordsBefore(b) + static_cast<long>(p)};
}

char* ResultList::prepareText(std::string_view entry, std::string_view annotation,
                              std::string_view balance, size_t size, size_t* chunk) {
  char* text;
  if (!m_chunks.empty() && m_chunkUsed + size <= kChunkSize) {
    *chunk = m_chunk;
    text = m_chunks[m_chunk].get() + m_chunkUsed;
  } else {
    *chunk = m_chunks.empty() ? 0 : m_chunk + 1;
    if (*chunk == m_chunks.size()) {
      m_chunks.push_back(std::unique_ptr<char[]>(new char[kChunkSize]));
    }
    text = m_chunks[*chunk].get();
  }
  size_t at = 0;
  for (std::string_view part : {entry, annotation, balance}) {
    const size_t n = std::min(part.size(), size - at);
    std::copy_n(part.data(), n, text + at);
    at += n;
  }
  return text;
}

void ResultList::commitText(size_t chunk, size_t size) {
  if (chunk != m_chunk) {
    m_chunk = chunk;
    m_chunkUsed = 0;
  }
  m_chunkUsed += size;
}

void ResultList::prepareSpareBlock() {
  if (m_spareBlocks.empty()) {
    Block block;
    block.reserve(kBlockLimit + 1);
    m_spareBlocks.push_back(std::move(block));
  }
  m_spareBlocks.back().reserve(kBlockLimit + 1);
}

void ResultList::prepareIndex() {
  reserveOneMore(m_nodes);
  if (m_nodes.size() < m_buckets.size()) return;
  // As many entries as buckets: twice the buckets (plus one, to stay odd) keep the chains short.
  const size_t buckets = 2 * m_buckets.size() + 1;
  if (m_buckets.capacity() >= buckets) {
    m_buckets.assign(buckets, 0);
  } else {
    std::vector<uint32_t> fresh(buckets, 0);
    m_buckets.swap(fresh);
  }
  for (size_t i = 0; i < m_nodes.size(); ++i) {
    uint32_t& head = m_buckets[bucketOf(m_nodes[i].hashAndLength, buckets)];
    m_nodes[i].next = head;
    head = static_cast<uint32_t>(i + 1);
  }
}

void ResultList::indexEntry(std::string_view entry) {
  const uint32_t hashAndLength =
      (letterHash(entry) & kHashMask) | static_cast<uint32_t>(entry.size());
  uint32_t& head = m_buckets[bucketOf(hashAndLength, m_buckets.size())];
  m_nodes.push_back({entry.data(), head, hashAndLength});
  head = static_cast<uint32_t>(m_nodes.size());
}

bool ResultList::arrange(const std::vector<long>& order) {
  if (static_cast<long>(order.size()) != m_count) return false;
  std::vector<Block> blocks;
  try {
    blocks.reserve(static_cast<size_t>(m_count / kBlockLimit + 1));
    for (long i = 0; i < m_count; ++i) {
      if (blocks.empty() || blocks.back().size() == static_cast<size_t>(kBlockLimit)) {
        blocks.emplace_back().reserve(kBlockLimit);
      }
      blocks.back().push_back(*record(order[static_cast<size_t>(i)]));
    }
    if (blocks.empty()) blocks.emplace_back();
    m_tailKeys.assign(blocks.size(), 0);
    m_blockTree.reserve(blocks.size());
  } catch (const std::bad_alloc&) {
    return false;
  }
  // The texts stay where they are; only the records move.
  m_blocks = std::move(blocks);
  rebuildBlockTree();
  m_order = ResultOrder::Discovery;
  m_cursorIndex = -1;
  m_selection.clear();
  m_changedFrom = 0;
  return true;
}

void ResultList::rebuildBlockTree() {
  const size_t n = m_blocks.size();
  m_blockTree.resize(n);
  for (size_t i = 0; i < n; ++i) m_blockTree[i] = static_cast<long>(m_blocks[i].size());
  for (size_t i = 1; i <= n; ++i) {
    const size_t parent = i + lowestBit(i);
    if (parent <= n) m_blockTree[parent - 1] += m_blockTree[i - 1];
  }
}

void ResultList::growBlock(size_t block, long records) {
  for (size_t i = block + 1; i <= m_blockTree.size(); i += lowestBit(i)) {
    m_blockTree[i - 1] += records;
  }
}

long ResultList::recordsBefore(size_t block) const {
  long sum = 0;
  for (size_t i = block; i > 0; i -= lowestBit(i)) sum += m_blockTree[i - 1];
  return sum;
}

size_t ResultList::blockHolding(long index, long* start) const {
  size_t block = 0;
  long left = index;
  for (size_t step = std::bit_floor(m_blockTree.size()); step > 0; step >>= 1) {
    if (block + step <= m_blockTree.size() && m_blockTree[block + step - 1] <= left) {
      block += step;
      left -= m_blockTree[block - 1];
    }
  }
  *start = index - left;
  return block;
}

bool ResultList::contains(std::string_view entry) const {
  if (m_keepIndex) {
    const uint32_t hash = letterHash(entry) & kHashMask;
    for (uint32_t n = m_buckets[bucketOf(hash, m_buckets.size())]; n != 0;) {
      const IndexNode& node = m_nodes[n - 1];
      if ((node.hashAndLength & kHashMask) == hash &&
          folded::compare(std::string_view(node.text, node.hashAndLength & 0xFF), entry) == 0) {
        return true;
      }
      n = node.next;
    }
    return false;
  }
  if (m_order == ResultOrder::Discovery) {
    // Without an index only a full walk can tell.
    for (const Block& block : m_blocks) {
      for (const ResultRecord& r : block) {
        if (folded::compare(r.entry(), entry) == 0) return true;
      }
    }
    return false;
  }
  if (m_count == 0) return false;
  // Entries with the same letters are equal in every order: the first record that does not sort
  // before the entry is the only candidate.
  const int letters = folded::letterCount(entry);
  const uint64_t key = orderKey(entry, letters, m_order);
  auto before = [&](const ResultRecord& r) {
    return sortsBefore(r.entry(), r.letterCount, entry, letters, m_order);
  };
  const size_t b = firstFailing(m_blocks.size(), [&](size_t i) {
    return m_tailKeys[i] < key || (m_tailKeys[i] == key && before(m_blocks[i].back()));
  });
  if (b == m_blocks.size()) return false;
  const Block& block = m_blocks[b];
  const auto at = std::partition_point(block.begin(), block.end(), before);
  return folded::compare(at->entry(), entry) == 0;
}

ResultList::Changes ResultList::takeChanges() {
  const Changes changes{m_cleared, m_changedFrom};
  m_cleared = false;
  m_changedFrom = m_count;
  return changes;
}

const ResultRecord* ResultList::record(long i) const {
  if (i < 0 || i >= m_count) return nullptr;
  if (m_cursorIndex >= 0 && i == m_cursorIndex + 1) {
    if (++m_cursorPosition >= m_blocks[m_cursorBlock].size()) {
      do {
        ++m_cursorBlock;
      } while (m_blocks[m_cursorBlock].empty());
      m_cursorPosition = 0;
    }
  } else if (i != m_cursorIndex) {
    long start = 0;
    m_cursorBlock = blockHolding(i, &start);
    m_cursorPosition = static_cast<size_t>(i - start);
  }
  m_cursorIndex = i;
  return &m_blocks[m_cursorBlock][m_cursorPosition];
}

std::string ResultList::selectedText(std::string_view lineEnd) const {
  std::string text;
  const bool several = m_selection.selectedCount() > 1;
  for (const auto& run : m_selection.runs()) {
    for (long i = run.start; i < run.start + run.count; ++i) {
      const ResultRecord* r = record(i);
      if (!r) break;
      text += r->text();
      if (several) text += lineEnd;
    }
  }
  return text;
}

}  // namespace qel
