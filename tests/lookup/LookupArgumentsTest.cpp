// What the lookup methods hand over: web addresses, program arguments, command numbers, D-Bus
// names and object paths.
#include <gtest/gtest.h>

#include "lookup/LookupArguments.h"

namespace qel {
namespace {

TEST(LookupArguments, TheWordIsPercentEncodedIntoEveryPlaceholder) {
  const struct {
    const char* address;
    const char* word;
    const char* expected;
  } cases[] = {
      {"https://www.google.com/search?q=%22{entry}%22", "tail-end",
       "https://www.google.com/search?q=%22tail%2dend%22"},
      {"https://x.example/?w={entry}&ls=a", "tail end", "https://x.example/?w=tail%20end&ls=a"},
      {"{entry}/{entry}", "Ab9", "Ab9/Ab9"},
      {"https://x.example/", "word", "https://x.example/"},
      {"q={entry}", "caf\xc3\xa9", "q=caf%c3%a9"},  // UTF-8 bytes
      {"q={entry}", "{entry}", "q=%7bentry%7d"},    // never searched again
      {"{entr{entry}y}", "x", "{entrxy}"},
  };
  for (const auto& c : cases) EXPECT_EQ(webSearchAddress(c.address, c.word), c.expected);
}

TEST(LookupArguments, AProgramGetsTheWordOrItsCodePageBytesInHexadecimal) {
  EXPECT_EQ(programArgument("ab", "1"), "6162");
  EXPECT_EQ(programArgument("caf\xe9", "1"), "636166E9");
  EXPECT_EQ(programArgument("tail end", "0"), "tail end");
  EXPECT_EQ(programArgument("caf\xe9", ""), "caf\xc3\xa9");
  EXPECT_TRUE(isHexEncoding("1"));
  EXPECT_FALSE(isHexEncoding("0"));
  EXPECT_FALSE(isHexEncoding("x"));
}

TEST(LookupArguments, ACommandThatIsNotANumberIsZero) {
  EXPECT_EQ(windowMessageCommand("2026"), 2026);
  EXPECT_EQ(windowMessageCommand(" 12 "), 12);
  EXPECT_EQ(windowMessageCommand("12x"), 0);
  EXPECT_EQ(windowMessageCommand(""), 0);
  EXPECT_EQ(windowMessageCommand("99999999999"), 0);
}

TEST(LookupArguments, ATopicBecomesAValidObjectPath) {
  EXPECT_EQ(dbusObjectPath("WinWord"), "/WinWord");
  EXPECT_EQ(dbusObjectPath("org/example/Words"), "/org/example/Words");
  EXPECT_EQ(dbusObjectPath("Win Word-6.0"), "/Win_Word_6_0");
  EXPECT_EQ(dbusObjectPath("//a//b/"), "/a/b");
  EXPECT_EQ(dbusObjectPath("caf\xc3\xa9"), "/caf_");
  EXPECT_EQ(dbusObjectPath(""), "/");
}

TEST(LookupArguments, OnlyNamesTheBusAcceptsAreCalled) {
  for (const char* valid : {"org.example.Words", ":1.42", "a-b._c.d9", "_x.y"})
    EXPECT_TRUE(isValidDBusBusName(valid)) << valid;
  for (const char* invalid : {"", "CompLex", "org..example", ".org.example", "org.example.",
                              "org.9words", "org.exa mple", "org.caf\xc3\xa9", ":"})
    EXPECT_FALSE(isValidDBusBusName(invalid)) << invalid;
  EXPECT_FALSE(isValidDBusBusName("a." + std::string(254, 'b')));
}

}  // namespace
}  // namespace qel
