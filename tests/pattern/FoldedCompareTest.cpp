// Words compare by their letters alone.
#include <gtest/gtest.h>

#include "pattern/FoldedCompare.h"

namespace qel {
namespace {

int sign(int v) { return (v > 0) - (v < 0); }

TEST(FoldedCompare, PunctuationCaseAndAccentsDoNotCount) {
  const struct {
    const char* a;
    const char* b;
    int expected;
  } cases[] = {
      {"fly-by-night", "fly by night", 0},
      {"fly-by-night", "flybynight", 0},
      {"CAFE", "caf\xE9", 0},
      {"o'clock", "oclock", 0},
      {"ab3c", "abc", 0},
      {"--", "  ", 0},
      {"cafes", "cafe", 1},
      {"cafe", "cafes", -1},
      {"\xC6sop", "Aesop", -1},  // the letters kept as their own sort before A
      {"\x8C"
       "uvre",
       "\x9C"
       "uvre",
       0},
      {"\x9C"
       "uvre",
       "oeuvre", -1},
      {"\xDF", "ss", -1},
      {"apple", "banana", -1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(sign(folded::compare(c.a, c.b)), c.expected) << c.a << " vs " << c.b;
    EXPECT_EQ(sign(folded::compare(c.b, c.a)), -c.expected) << c.b << " vs " << c.a;
  }
}

TEST(FoldedCompare, CountHashAndLetterOrDigit) {
  EXPECT_EQ(folded::letterCount("fly-by-night 2"), 10);
  EXPECT_EQ(folded::letterCount("\xC6on \xD7 \xF7"), 3);
  EXPECT_EQ(folded::hash("Fly-By Night"), folded::hash("flybynight"));
  EXPECT_NE(folded::hash("ab"), folded::hash("ba"));
  EXPECT_TRUE(folded::isLetterOrDigit('7'));
  EXPECT_TRUE(folded::isLetterOrDigit(0x9F));
  EXPECT_FALSE(folded::isLetterOrDigit('-'));
  EXPECT_FALSE(folded::isLetterOrDigit(0xD7));
}

}  // namespace
}  // namespace qel
