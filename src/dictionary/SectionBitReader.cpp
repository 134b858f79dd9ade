// Reading a section's blocks from the dictionary file, with the checks that it did not change, and
// the decoding of the codes the pair table does not cover.
#include "dictionary/SectionBitReader.h"

#include <algorithm>
#include <cstring>

#include "dictionary/Dictionary.h"
#include "platform/FileAccess.h"

namespace qel {

void SectionBitReader::reset() {
  m_file.close();
  m_bits = 0;
  m_bitCount = 0;
  m_wordPosition = m_blockWords = 0;
  m_invalidated = m_dictionary.invalidated();
  m_generation = m_dictionary.generation();
}

bool SectionBitReader::start(int length) {
  reset();
  if (m_dictionary.valid() && length > 0 && length < m_dictionary.slotCount()) {
    const auto& sections = m_dictionary.sectionOffset();
    m_file.closeAt(sections[length]);
    // The last length has no next section to compare with: its entry count tells.
    const bool hasEntries = length == m_dictionary.slotCount() - 1
                                ? m_dictionary.entryCount()[length] > 0
                                : sections[length] < sections[length + 1];
    if (hasEntries && !refillBlock()) m_file.close();
  }
  return hasOpenFile();
}

bool SectionBitReader::openFile() {
  int error = 0;
  if (m_file.open(m_dictionary.path(), error)) return true;
  // Gone, or no longer readable: what the dictionary read does not hold any more. Running out of
  // handles is no change to the file, nor is a position that cannot be reached.
  if (error != 0 && !outOfFileHandles(error)) {
    m_dictionary.invalidate();
    m_invalidated = true;
  }
  return false;
}

bool SectionBitReader::fileUnchanged() {
  FileIdentity now;
  const bool readAgain = m_dictionary.generation() != m_generation;
  if (!readAgain && m_dictionary.valid() && regularFileIdentity(m_file.get(), now) == 0 &&
      now == m_dictionary.identity()) {
    return true;
  }
  // A dictionary read again describes the new file correctly; only this reading is spoilt.
  if (!readAgain) m_dictionary.invalidate();
  m_invalidated = true;
  m_file.close();
  return false;
}

bool SectionBitReader::refillBlock() {
  if (m_invalidated || (!hasOpenFile() && !openFile())) return false;
  // Every block is checked, so a file rewritten or cut short in place is noticed as well as one
  // replaced under the name and opened again (each section, or after lending the handle).
  if (!fileUnchanged()) return false;
  std::FILE* file = m_file.get();
  const long position = std::ftell(file);
  const size_t count = std::fread(m_block, 1, kBlockSize, file);
  const uint64_t size = m_dictionary.identity().size;
  const uint64_t expected =
      position < 0 || static_cast<uint64_t>(position) >= size
          ? 0
          : std::min<uint64_t>(kBlockSize, size - static_cast<uint64_t>(position));
  if (count < expected) {
    m_dictionary.invalidate();
    m_invalidated = true;
    m_file.close();
    return false;
  }
  if (count == 0) return false;
  // The stream is read in whole words; a short last read is padded with zero bits.
  const size_t rounded = (count + 3) & ~size_t{3};
  std::memset(m_block + count, 0, rounded - count);
  m_wordPosition = 0;
  m_blockWords = static_cast<int>(rounded / 4);
  return true;
}

bool SectionBitReader::loadBits() {
  while (m_bitCount <= 32) {
    if (m_wordPosition >= m_blockWords && !refillBlock()) return m_bitCount > 0;
    m_bits |= static_cast<uint64_t>(decodeU32(m_block + 4 * m_wordPosition)) << m_bitCount;
    m_bitCount += 32;
    ++m_wordPosition;
  }
  return true;
}

// The whole decoding of one symbol from the member state, or -1 when the stream ends or leads
// nowhere: refills, codes longer than eight bits and the last bits of the stream come here.
int SectionBitReader::decodeSymbolSlow() {
  if (m_bitCount <= 32) loadBits();
  const DecodingTable& decoder = m_dictionary.decoder();
  int node = DecodingTable::kRoot;
  if (m_bitCount >= 8) {
    const DecodingTable::Step& step = decoder.step(static_cast<uint8_t>(m_bits));
    if (step.codeLength != 0) {
      m_bits >>= step.codeLength;
      m_bitCount -= step.codeLength;
      return step.node;
    }
    if (step.node == DecodingTable::kNone) return -1;
    node = step.node;
    m_bits >>= 8;
    m_bitCount -= 8;
  }
  while (!DecodingTable::isLeaf(node)) {
    if (m_bitCount == 0 && !loadBits()) return -1;
    node = decoder.node(node).child[m_bits & 1];
    m_bits >>= 1;
    --m_bitCount;
    if (node == DecodingTable::kNone) return -1;
  }
  return node;
}

}  // namespace qel
