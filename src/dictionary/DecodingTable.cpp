// Builds the decoding tree from the codes stored in a dictionary header, then the 8-bit table.
#include "dictionary/DecodingTable.h"

namespace qel {

void DecodingTable::clear() {
  m_nodes.fill(Node{});
  m_table.fill(Step{});
  m_pairs.fill(Pair{});
  m_nodeCount = kRoot + 1;
}

bool DecodingTable::insert(int symbol, uint32_t code, int length) {
  if (length < 1 || length > 32 || symbol < 0 || symbol >= kRoot) return false;
  int current = kRoot;
  for (int bit = length - 1; bit >= 1; --bit) {
    uint16_t& child = m_nodes[current].child[(code >> bit) & 1];
    if (child == kNone) {
      if (m_nodeCount >= kMaxNodes) return false;
      child = static_cast<uint16_t>(m_nodeCount++);
    } else if (isLeaf(child)) {
      return false;  // an earlier code is a prefix of this one
    }
    current = child;
  }
  uint16_t& slot = m_nodes[current].child[code & 1];
  if (slot != kNone) return false;  // a duplicate code, or this code is a prefix of another
  slot = static_cast<uint16_t>(symbol);
  m_nodes[symbol].codeLength = static_cast<uint8_t>(length);
  return true;
}

void DecodingTable::buildTable() {
  for (int j = 0; j < 256; ++j) {
    int n = kRoot;
    int used = 0;
    while (!isLeaf(n) && used < 8) {
      const uint16_t next = m_nodes[n].child[(j >> used) & 1];
      ++used;
      if (next == kNone) {
        n = kNone;
        break;
      }
      n = next;
    }
    Step& s = m_table[j];
    s.node = static_cast<uint16_t>(n);
    s.codeLength = (n != kNone && isLeaf(n)) ? static_cast<uint8_t>(used) : 0;
  }
  for (uint32_t j = 0; j < m_pairs.size(); ++j) {
    Pair& p = m_pairs[j];
    int firstLength = 0;
    const int first = walk(j, kPairBits, firstLength);
    if (first == kNone) continue;
    p.first = static_cast<uint8_t>(first);
    p.count = 1;
    p.length = static_cast<uint8_t>(firstLength);
    if (first == 0) continue;
    int secondLength = 0;
    const int second = walk(j >> firstLength, kPairBits - firstLength, secondLength);
    if (second == kNone) continue;
    p.second = static_cast<uint8_t>(second);
    p.count = 2;
    p.length = static_cast<uint8_t>(firstLength + secondLength);
  }
}

int DecodingTable::walk(uint32_t bits, int limit, int& used) const {
  int n = kRoot;
  for (used = 0; used < limit && !isLeaf(n); ++used) {
    n = m_nodes[n].child[(bits >> used) & 1];
    if (n == kNone) return kNone;
  }
  return isLeaf(n) ? n : kNone;
}

}  // namespace qel
