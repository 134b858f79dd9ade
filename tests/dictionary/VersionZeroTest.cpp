// The read-only older format, written here byte by byte: no definitions, an 80-byte description,
// 8-bit codes.
#include <gtest/gtest.h>

#include <vector>

#include "dictionary/ByteOrder.h"
#include "dictionary/EntryEnumerator.h"
#include "dictionary/QCDictionaryList.h"
#include "support/TestDictionaries.h"

namespace qel {
namespace {

// Packs 8-bit codes (each byte value is its own code, most significant bit first in the stream)
// into 16-bit little-endian units filled from the least significant bit.
std::string packEightBitCodes(const std::string& items) {
  std::vector<int> bits;
  for (char ch : items) {
    const auto v = static_cast<uint8_t>(ch);
    for (int b = 7; b >= 0; --b) bits.push_back((v >> b) & 1);
  }
  while (bits.size() % 16) bits.push_back(0);
  std::string out;
  for (size_t i = 0; i < bits.size(); i += 16) {
    uint16_t unit = 0;
    for (int b = 0; b < 16; ++b) unit |= static_cast<uint16_t>(bits[i + b] << b);
    putU16(out, unit);
  }
  return out;
}

std::string versionZeroFile(const std::string& descriptionText = "old format") {
  const int n = 4;  // lengths 1..3; length 1 is empty
  const std::string section2 = packEightBitCodes(std::string("ab\0Ba\0\0", 7));
  const std::string section3 = packEightBitCodes(std::string("ab-A\nnote\0", 10) + '\0');
  const uint32_t headerSize = 6 + 8 * n + 80 + 4 + 256 * 8 + 2 + 6 * 2;
  std::string f = "QCD0";
  putU16(f, n);
  const uint32_t sections[n] = {0, headerSize, headerSize,
                                headerSize + static_cast<uint32_t>(section2.size())};
  for (uint32_t s : sections) putU32(f, s);
  for (uint32_t c : {0u, 0u, 2u, 1u}) putU32(f, c);
  std::string description = descriptionText;
  description.resize(80, '\0');
  f += description;
  putU16(f, 2);  // S
  putU16(f, 2);  // T
  for (int i = 0; i < 256; ++i) {
    const int folded = (i == 'a' || i == 'A') ? 'a' : (i == 'b' || i == 'B') ? 'b' : 0;
    f.push_back(static_cast<char>(folded));
    f.push_back(8);
    putU16(f, static_cast<uint16_t>(folded ? folded - 'a' : -1));
    putU32(f, static_cast<uint32_t>(i));
  }
  putU16(f, 6);
  f += std::string(12, '\0');
  EXPECT_EQ(f.size(), headerSize);
  return f + section2 + section3;
}

TEST(DictionaryVersionZero, OpensAndEnumeratesWithoutReferences) {
  test::TempDir dir;
  const std::string path = dir.file("old.qcd");
  test::writeFile(path, versionZeroFile());
  QCDictionaryList list(path);
  ASSERT_TRUE(list.recheck(0)) << list.description(0);
  EXPECT_EQ(list.description(0), "old format");
  EXPECT_EQ(list.referenceCount(0, 2), 0);
  EXPECT_EQ(list.propertiesText(0), "old\nEntries: 3\nDescription: old format");

  EntryEnumerator e(list, 0);
  EXPECT_FALSE(e.selectLength(1));
  ASSERT_TRUE(e.selectLength(2));
  const uint8_t* letters = e.next(nullptr);
  EXPECT_STREQ(e.text(), "ab");
  EXPECT_EQ(letters[0], 0);
  EXPECT_EQ(letters[1], 1);
  EXPECT_EQ(letters[2], kEndOfLetters);
  EXPECT_FALSE(e.referenceNumber().has_value());
  letters = e.next(nullptr);
  EXPECT_STREQ(e.text(), "Ba");
  EXPECT_EQ(letters[0], 1);
  EXPECT_EQ(e.next(nullptr)[0], kEndOfLetters);
  EXPECT_LT(e.groupState(), 0);

  ASSERT_TRUE(e.selectLength(3));
  letters = e.next(nullptr);
  EXPECT_STREQ(e.text(), "ab-A");
  ASSERT_NE(e.annotation(), nullptr);
  EXPECT_STREQ(e.annotation(), "note");
  EXPECT_EQ(letters[2], 0);
  EXPECT_EQ(letters[3], kEndOfLetters);
  EXPECT_EQ(e.next(nullptr)[0], kEndOfLetters);
}

// The description field of the older format may be filled to its last byte with text.
TEST(DictionaryVersionZero, DescriptionMayFillItsWholeField) {
  for (const std::string& description :
       {std::string("short"), std::string(79, 'x'), std::string(80, 'y')}) {
    SCOPED_TRACE(description.size());
    test::TempDir dir;
    const std::string path = dir.file("old.qcd");
    test::writeFile(path, versionZeroFile(description));
    QCDictionaryList list(path);
    ASSERT_TRUE(list.recheck(0)) << list.description(0);
    EXPECT_EQ(list.description(0), description);
  }
}

}  // namespace
}  // namespace qel
