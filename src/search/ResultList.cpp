// Ordered insertion compares with one tail per block and then walks at most 511 records; a block
// that reaches 512 is split in halves, so insertion stays cheap with hundreds of thousands of
// results.
#include "search/ResultList.h"

#include <algorithm>

#include "pattern/FoldedCompare.h"

namespace qel {

ResultList::ResultList() { clear(); }

void ResultList::clear() {
  // The storage of the last search is kept for the next: a search that lists every entry of a
  // big dictionary would otherwise spend a good part of its time getting fresh memory.
  m_chunk = 0;
  m_chunkUsed = 0;
  for (Block& block : m_blocks) {
    block.clear();
    m_spareBlocks.push_back(std::move(block));
  }
  m_blocks.clear();
  newBlock(m_blocks.end());
  m_count = 0;
  for (auto& bucket : m_buckets) bucket.clear();
  m_cursorIndex = -1;
  m_selection.clear();
}

void ResultList::setOrder(ResultOrder order, bool keepIndex) {
  m_order = order;
  m_keepIndex = keepIndex;
}

ResultList::Block& ResultList::newBlock(std::vector<Block>::iterator at) {
  Block block;
  if (!m_spareBlocks.empty()) {
    block = std::move(m_spareBlocks.back());
    m_spareBlocks.pop_back();
  } else {
    block.reserve(kBlockLimit + 1);
  }
  return *m_blocks.insert(at, std::move(block));
}

std::string_view ResultList::store(std::string_view entry, std::string_view annotation,
                                   std::string_view balance) {
  const size_t size =
      std::min(entry.size() + annotation.size() + balance.size(), ResultRecord::kMaxText);
  if (m_chunks.empty() || m_chunkUsed + size > kChunkSize) {
    if (!m_chunks.empty()) ++m_chunk;
    if (m_chunk == m_chunks.size()) m_chunks.emplace_back(new char[kChunkSize]);
    m_chunkUsed = 0;
  }
  char* text = m_chunks[m_chunk].get() + m_chunkUsed;
  m_chunkUsed += size;
  size_t at = 0;
  for (std::string_view part : {entry, annotation, balance}) {
    const size_t n = std::min(part.size(), size - at);
    std::copy_n(part.data(), n, text + at);
    at += n;
  }
  return std::string_view(text, size);
}

long ResultList::add(std::string_view entry, std::string_view annotation,
                     std::string_view balance, int32_t definitionNumber) {
  if (m_count >= kMaxCount) return -1;
  ResultRecord record;
  record.definitionNumber = definitionNumber;
  record.entryLength = static_cast<uint8_t>(std::min(entry.size(), ResultRecord::kMaxText));
  const std::string_view text = store(entry, annotation, balance);
  record.textData = text.data();
  record.textLength = static_cast<uint8_t>(text.size());

  long at;
  if (m_order == ResultOrder::Discovery) {
    if (static_cast<int>(m_blocks.back().size()) > kBlockLimit) newBlock(m_blocks.end());
    m_blocks.back().push_back(record);
    at = m_count;
  } else {
    at = insertOrdered(record);
    m_selection.rowInserted(static_cast<int>(at));
  }
  ++m_count;
  m_cursorIndex = -1;
  if (m_keepIndex) {
    m_buckets[folded::hash(record.entry()) % kHashBuckets].push_back(record.entry());
  }
  return at;
}

long ResultList::insertOrdered(const ResultRecord& record) {
  const std::string_view entry = record.entry();
  long passed = 0;
  size_t target = m_blocks.size() - 1;
  size_t position = m_blocks[target].size();
  for (size_t b = 0; b < m_blocks.size(); ++b) {
    Block& block = m_blocks[b];
    if (!block.empty() && sortsBefore(entry, block.back().entry(), m_order)) {
      size_t p = 0;
      while (!sortsBefore(entry, block[p].entry(), m_order)) ++p;
      target = b;
      position = p;
      break;
    }
    passed += static_cast<long>(block.size());
  }
  if (target == m_blocks.size() - 1 && position == m_blocks[target].size()) {
    passed = m_count - static_cast<long>(m_blocks[target].size());
  }
  Block& block = m_blocks[target];
  block.insert(block.begin() + static_cast<long>(position), record);
  if (static_cast<int>(block.size()) > kBlockLimit) {
    Block& second = newBlock(m_blocks.begin() + static_cast<long>(target) + 1);
    Block& first = m_blocks[target];
    second.assign(first.begin() + 256, first.end());
    first.resize(256);
  }
  return passed + static_cast<long>(position);
}

bool ResultList::contains(std::string_view entry) const {
  if (m_keepIndex) {
    for (std::string_view stored : m_buckets[folded::hash(entry) % kHashBuckets]) {
      if (folded::compare(stored, entry) == 0) return true;
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
  for (const Block& block : m_blocks) {
    if (block.empty() || sortsBefore(block.back().entry(), entry, m_order)) continue;
    for (const ResultRecord& r : block) {
      if (!sortsBefore(r.entry(), entry, m_order)) return folded::compare(r.entry(), entry) == 0;
    }
  }
  return false;
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
    size_t b = 0;
    while (start + static_cast<long>(m_blocks[b].size()) <= i) start += static_cast<long>(m_blocks[b++].size());
    m_cursorBlock = b;
    m_cursorPosition = static_cast<size_t>(i - start);
  }
  m_cursorIndex = i;
  return &m_blocks[m_cursorBlock][m_cursorPosition];
}

std::string ResultList::selectedText() const {
  std::string text;
  const bool several = m_selection.selectedCount() > 1;
  for (const auto& run : m_selection.runs()) {
    for (long i = run.start; i < run.start + run.count; ++i) {
      const ResultRecord* r = record(i);
      if (!r) break;
      text += r->text();
      if (several) text += "\r\n";
    }
  }
  return text;
}

}  // namespace qel
