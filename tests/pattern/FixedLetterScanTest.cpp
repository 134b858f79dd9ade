// The bulk test of fixed letters: the same entries as a test of one position at a time, for every
// spread of positions and every entry near the end, and no byte read past the entries.
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstring>
#include <random>
#include <vector>

#include "pattern/FixedLetterScan.h"

namespace qel::pattern {
namespace {

// Bytes that end where an unreadable page begins, so that a read past them faults.
class GuardedBytes {
 public:
  explicit GuardedBytes(size_t size) : m_page(static_cast<size_t>(::sysconf(_SC_PAGESIZE))) {
    m_mapped = (size + m_page - 1) / m_page * m_page + m_page;
    m_base = static_cast<uint8_t*>(
        ::mmap(nullptr, m_mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
    EXPECT_NE(m_base, MAP_FAILED);
    ::mprotect(m_base + m_mapped - m_page, m_page, PROT_NONE);
    m_data = m_base + m_mapped - m_page - size;
  }
  ~GuardedBytes() { ::munmap(m_base, m_mapped); }
  uint8_t* data() { return m_data; }

 private:
  size_t m_page;
  size_t m_mapped = 0;
  uint8_t* m_base = nullptr;
  uint8_t* m_data = nullptr;
};

size_t firstPassingOneByOne(const std::vector<std::pair<int, uint8_t>>& checks,
                            const uint8_t* letters, size_t stride, size_t count) {
  for (size_t k = 0; k < count; ++k) {
    bool passes = true;
    for (const auto& [position, letter] : checks)
      passes &= letters[k * stride + position] == letter;
    if (passes) return k;
  }
  return count;
}

TEST(FixedLetterScan, FindsWhatAPositionByPositionTestFindsWithoutReadingPastTheEntries) {
  std::mt19937 random(20261208);
  int prepared = 0;
  for (int trial = 0; trial < 3000; ++trial) {
    const int length = 1 + static_cast<int>(random() % 31);
    const size_t stride = static_cast<size_t>(length) + 1;
    const size_t count = 1 + random() % 40;
    // Few letters, so that entries often pass.
    const int letterCount = 1 + static_cast<int>(random() % 3);
    GuardedBytes bytes(count * stride);
    uint8_t* letters = bytes.data();
    for (size_t k = 0; k < count; ++k) {
      for (int i = 0; i < length; ++i) letters[k * stride + i] = random() % letterCount;
      letters[k * stride + length] = 0xFF;
    }
    // Checks at positions anywhere in the entry: near together, spread over several windows, or
    // over more windows than a scan takes.
    std::vector<std::pair<int, uint8_t>> checks;
    uint8_t pairs[32][2];
    const int wanted = static_cast<int>(random() % (std::min(length, 6) + 1));
    for (int position = 0; position < length && static_cast<int>(checks.size()) < wanted;
         ++position) {
      if (random() % 3 != 0) continue;
      const auto letter = static_cast<uint8_t>(random() % letterCount);
      pairs[checks.size()][0] = static_cast<uint8_t>(position);
      pairs[checks.size()][1] = letter;
      checks.emplace_back(position, letter);
    }
    FixedLetterScan scan;
    int lastWindowEnd = -1, windows = 0;
    for (const auto& check : checks) {
      if (check.first >= lastWindowEnd) {
        ++windows;
        lastWindowEnd = check.first + 8;
      }
    }
    const bool ready = scan.prepare(pairs, static_cast<int>(checks.size()));
    EXPECT_EQ(ready, windows <= FixedLetterScan::kMaxWindows);
    if (!ready) continue;
    ++prepared;
    // From every entry on, so that the last few entries are the first ones tested too.
    for (size_t from = 0; from < count; ++from) {
      EXPECT_EQ(scan.firstPassing(letters + from * stride, stride, count - from),
                firstPassingOneByOne(checks, letters + from * stride, stride, count - from))
          << "trial " << trial << " from " << from;
    }
    // Several at once, up to a capacity that runs out anywhere among four entries tested together.
    std::vector<size_t> all;
    for (size_t k = 0; k < count; ++k) {
      if (firstPassingOneByOne(checks, letters + k * stride, stride, 1) == 0) all.push_back(k);
    }
    for (const size_t capacity : {size_t{2}, size_t{3}, size_t{5}, size_t{64}}) {
      std::vector<size_t> found(capacity);
      found.resize(scan.passing(letters, stride, count, found.data(), capacity));
      const std::vector<size_t> expected(all.begin(), all.begin() + std::min(capacity, all.size()));
      EXPECT_EQ(found, expected) << "trial " << trial << " capacity " << capacity;
    }
  }
  EXPECT_GT(prepared, 2000);
}

}  // namespace
}  // namespace qel::pattern
