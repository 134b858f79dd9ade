// Conversion at the edges keeps every character that the code page holds and refuses the rest.
#include <gtest/gtest.h>

#include "platform/Cp1252.h"

namespace qel {
namespace {

TEST(Cp1252, EveryByteRoundTripsThroughUtf8) {
  std::string all;
  for (int c = 1; c < 256; ++c) all.push_back(static_cast<char>(c));
  std::string back;
  ASSERT_TRUE(cp1252::fromUtf8(cp1252::toUtf8(all), back));
  EXPECT_EQ(back, all);
}

// Texts of ASCII are written eight bytes at a time, the last block overlapping: every length, with
// a character outside ASCII at any place or none, gives what converting one character at a time
// gives.
TEST(Cp1252, TextsOfEveryLengthConvertAsTheirCharactersDo) {
  for (size_t length = 0; length <= 40; ++length) {
    for (size_t high = 0; high <= length; ++high) {
      std::string text;
      for (size_t i = 0; i < length; ++i) text.push_back(static_cast<char>('a' + i % 26));
      if (high < length) text[high] = '\xE9';
      std::string expected;
      for (char c : text) expected += cp1252::toUtf8(std::string(1, c));
      EXPECT_EQ(cp1252::toUtf8(text), expected) << length << " " << high;
    }
  }
}

TEST(Cp1252, TypographicCharactersMapToTheirCodes) {
  std::string out;
  ASSERT_TRUE(cp1252::fromUtf8("caf\xC3\xA9 \xC5\x92uvre \xE2\x82\xAC \xE2\x80\x99", out));
  EXPECT_EQ(out, "caf\xE9 \x8Cuvre \x80 \x92");
}

TEST(Cp1252, RefusesWhatItCannotHold) {
  std::string out;
  size_t bad = 0;
  EXPECT_FALSE(cp1252::fromUtf8("ab\xE2\x88\x9E", out, &bad));  // infinity sign
  EXPECT_EQ(bad, 2u);
  EXPECT_FALSE(cp1252::fromUtf8("a\xC3", out));             // cut short
  EXPECT_FALSE(cp1252::fromUtf8("\xC0\x80", out));          // overlong NUL
  EXPECT_FALSE(cp1252::fromUtf8("\xE9t\xE9", out));         // Latin-1 bytes, not UTF-8
  EXPECT_FALSE(cp1252::fromUtf8("\xF0\x9F\x98\x80", out));  // outside the code page
}

}  // namespace
}  // namespace qel
