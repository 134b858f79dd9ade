#include "maintenance/PrefixCode.h"

#include <algorithm>
#include <vector>

namespace qel::build {
namespace {

uint32_t reverseBits(uint32_t code, int length) {
  uint32_t r = 0;
  for (int i = 0; i < length; ++i) r |= ((code >> i) & 1u) << (length - 1 - i);
  return r;
}

void setCode(SymbolCode& s, uint64_t code, int length) {
  s.code = static_cast<uint32_t>(code);
  s.length = static_cast<uint8_t>(length);
  s.streamBits = reverseBits(s.code, length);
}

}  // namespace

PrefixCode buildPrefixCode(const std::array<uint64_t, 256>& frequency) {
  struct Node {
    uint64_t weight;
    std::vector<uint8_t> symbols;  // the leaves under this node
  };
  std::vector<Node> nodes;
  for (int i = 0; i < 256; ++i) {
    if (frequency[i] > 0) nodes.push_back({frequency[i], {static_cast<uint8_t>(i)}});
  }
  std::array<uint64_t, 256> code{};
  std::array<int, 256> length{};
  bool tooLong = false;
  if (nodes.size() == 1) length[nodes[0].symbols[0]] = 1;  // a lone symbol still needs one bit

  while (nodes.size() > 1) {
    // Largest first; among equal weights the older node stays in front, so the result does not
    // depend on the sort's implementation.
    std::stable_sort(nodes.begin(), nodes.end(),
                     [](const Node& a, const Node& b) { return a.weight > b.weight; });
    Node smallest = std::move(nodes.back());
    nodes.pop_back();
    Node& second = nodes.back();
    for (uint8_t s : second.symbols) ++length[s];  // bit 0 at the new position
    for (uint8_t s : smallest.symbols) {
      if (length[s] < 64) code[s] |= uint64_t{1} << length[s];
      ++length[s];
    }
    for (uint8_t s : smallest.symbols) tooLong |= length[s] > kMaxCodeLength;
    for (uint8_t s : second.symbols) tooLong |= length[s] > kMaxCodeLength;
    second.weight += smallest.weight;
    second.symbols.insert(second.symbols.end(), smallest.symbols.begin(), smallest.symbols.end());
  }

  PrefixCode result;
  result.compressed = !tooLong;
  for (int i = 0; i < 256; ++i) {
    if (tooLong) {
      setCode(result.symbols[i], static_cast<uint32_t>(i), 8);
    } else if (length[i] > 0) {
      setCode(result.symbols[i], code[i], length[i]);
    }
  }
  return result;
}

}  // namespace qel::build
