// The per-file prefix code of the entry bit streams: a Huffman code over the byte frequencies of
// the entries, or plain 8-bit codes when some Huffman code would be longer than 32 bits.
#pragma once

#include <array>
#include <cstdint>

namespace qel::build {

struct SymbolCode {
  uint32_t code = 0;        // in the low `length` bits; the most significant of them goes first
  uint8_t length = 0;       // 0: the symbol never occurs and has no code
  uint32_t streamBits = 0;  // the code bit-reversed, as the bit packer takes it (first bit lowest)
};

struct PrefixCode {
  std::array<SymbolCode, 256> symbols;
  bool compressed = true;  // false: every byte has the 8-bit code equal to its value
};

inline constexpr int kMaxCodeLength = 32;

// Symbols with frequency 0 get no code (unless the 8-bit fallback applies, which codes all 256).
PrefixCode buildPrefixCode(const std::array<uint64_t, 256>& frequency);

}  // namespace qel::build
