// The bits of one length section's entry stream, read from the dictionary's file a 16 KB block at
// a time. Codes are read least significant bit first from 32-bit little-endian words; one table
// lookup decodes one or two short codes, one more any code of up to eight bits, and longer codes
// go on bit by bit through the tree. Every block read checks that the file is still the one the
// dictionary read; once it is not, nothing more is read.
#pragma once

#include <cstdint>

#include "dictionary/ByteOrder.h"
#include "dictionary/DecodingTable.h"
#include "platform/PooledFile.h"

namespace qel {

class Dictionary;

class SectionBitReader {
 public:
  static constexpr int kBlockSize = 16384;

  explicit SectionBitReader(Dictionary& dictionary) : m_dictionary(dictionary) {}

  // Closes the file and takes the dictionary as it is now: its generation, and whether it is
  // invalidated. Nothing is read until start().
  void reset();
  // reset(), then positions at the start of section `length` and reads its first block. False for
  // a section without entries, a length outside 1..N-1, an invalid dictionary or an unreadable
  // file.
  bool start(int length);
  bool hasOpenFile() const { return m_file.get() != nullptr; }
  // The dictionary's generation at reset().
  uint32_t generation() const { return m_generation; }
  // True once the dictionary was found invalidated at reset(), a block read found the file changed
  // (replaced, rewritten, cut short: the dictionary is invalidated then too) or the dictionary
  // read again since reset(), or invalidate() was called.
  bool invalidated() const { return m_invalidated; }
  void invalidate() { m_invalidated = true; }

  // The unread bits and the rest of the block, for a decoding loop that keeps them in locals
  // (stores into a text buffer may alias any member, which would otherwise be reloaded after every
  // character): taken with window(), given back with resume().
  struct Window {
    uint64_t bits;
    int bitCount;
    const uint8_t* next;  // the next unread word of the block
    const uint8_t* end;   // the end of the block's data
  };
  Window window() const {
    return {m_bits, m_bitCount, m_block + 4 * m_wordPosition, m_block + 4 * m_blockWords};
  }
  void resume(const Window& window) {
    m_bits = window.bits;
    m_bitCount = window.bitCount;
    m_wordPosition = static_cast<int>(window.next - m_block) / 4;
  }
  // Up to two symbols from the window with one lookup: how many, into `symbols`. 0 when the bits
  // hold no whole code that the lookup decodes, or the block is used up: decodeSymbolSlow() then
  // decodes one.
  static int decodePair(Window& window, const DecodingTable& decoder, int* symbols) {
    if (window.bitCount <= 32 && window.next >= window.end) return 0;
    if (window.bitCount <= 32) {
      window.bits |= static_cast<uint64_t>(decodeU32(window.next)) << window.bitCount;
      window.bitCount += 32;
      window.next += 4;
    }
    const DecodingTable::Pair& pair = decoder.pair(window.bits);
    symbols[0] = pair.first;
    symbols[1] = pair.second;
    window.bits >>= pair.length;
    window.bitCount -= pair.length;
    return pair.count;
  }
  // One symbol, refilling as needed, or -1 when the stream ends or leads nowhere.
  int decodeSymbolSlow();
  // The next bit, or -1 when the stream ends.
  int readBit() {
    if (m_bitCount == 0 && !loadBits()) return -1;
    const int bit = static_cast<int>(m_bits & 1);
    m_bits >>= 1;
    --m_bitCount;
    return bit;
  }
  // Drops the unread bits and the rest of the block.
  void skipToEnd() {
    m_bits = 0;
    m_bitCount = 0;
    m_wordPosition = m_blockWords;
  }

 private:
  bool refillBlock();
  // False, with the reading invalidated, when the dictionary was read again or the open file is no
  // longer the one the dictionary read.
  bool fileUnchanged();
  bool openFile();
  bool loadBits();

  Dictionary& m_dictionary;
  PooledFile m_file;
  uint32_t m_generation = 0;
  bool m_invalidated = false;
  // Unread bits of the stream, least significant first.
  uint64_t m_bits = 0;
  int m_bitCount = 0;
  int m_wordPosition = 0;  // next unread 32-bit word of the block
  int m_blockWords = 0;    // words of the block that hold data
  alignas(4) uint8_t m_block[kBlockSize];
};

}  // namespace qel
