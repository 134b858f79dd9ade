// The prefix-code decoder of a dictionary: a tree built from the symbol records, and an 8-bit table
// that decodes every code of up to eight bits with one lookup.
#pragma once

#include <array>
#include <cstdint>

namespace qel {

class DecodingTable {
 public:
  // Nodes 0..255 are the leaves (node i is symbol i), 256 is the root, internal nodes follow.
  static constexpr int kRoot = 256;
  static constexpr int kMaxNodes = 511;
  static constexpr uint16_t kNone = 0xFFFF;

  struct Node {
    uint16_t child[2] = {kNone, kNone};  // internal nodes only
    uint8_t codeLength = 0;              // leaves only; 0 = symbol never occurs
    uint8_t letterIndex = 255;           // leaves only
  };
  // What the next eight stream bits (least significant first) lead to from the root.
  struct Step {
    uint16_t node = kNone;   // kNone when the bits lead nowhere (corrupt code)
    uint8_t codeLength = 0;  // of the leaf reached, 0 when node is internal
  };

  // What the next kPairBits stream bits decode to when they hold one or two whole codes: the
  // decoder's fast path, which halves the chain of dependent lookups for short codes. A first
  // symbol 0 ends an entry and is never paired, since a flag bit may follow it.
  static constexpr int kPairBits = 11;
  struct Pair {
    uint8_t first = 0;
    uint8_t second = 0;
    uint8_t count = 0;   // 0: no whole code in the bits; use the 8-bit table and the tree
    uint8_t length = 0;  // bits taken by the decoded codes
  };

  void clear();
  // Adds the code of `symbol`: `length` bits of `code`, its most significant bit first in the
  // stream. False when the codes stop being a prefix code or the tree would need too many nodes.
  bool insert(int symbol, uint32_t code, int length);
  void setLetterIndex(int symbol, uint8_t index) { m_nodes[symbol].letterIndex = index; }
  void buildTable();

  static bool isLeaf(int node) { return node < kRoot; }
  const Node& node(int n) const { return m_nodes[n]; }
  const Step& step(uint8_t bits) const { return m_table[bits]; }
  const Pair& pair(uint64_t bits) const { return m_pairs[bits & ((1u << kPairBits) - 1)]; }

 private:
  std::array<Node, kMaxNodes> m_nodes{};
  // The leaf reached from the root by the low bits of `bits` within `limit` bits, or kNone.
  int walk(uint32_t bits, int limit, int& used) const;

  std::array<Step, 256> m_table{};
  std::array<Pair, 1u << kPairBits> m_pairs{};
  int m_nodeCount = kRoot + 1;
};

}  // namespace qel
