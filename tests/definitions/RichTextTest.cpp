// The readings of rich-text bodies: the words the index holds, the visible text, and the
// formatted text a window renders.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "definitions/RichTextFormat.h"
#include "definitions/RichTextPlain.h"
#include "definitions/RichTextTokenizer.h"

namespace qel::rtf {
namespace {

TEST(RichText, IndexTextHoldsTheWordsTheBuilderIndexes) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Times New Roman;}}{\\colortbl;\\red255;}"
       "\\f0\\fs20 caf\\'e9 au\\par lait}",
       "caf\xE9 au lait"},
      {"{\\rtf1 a\\-b\\_c \\\\ \\{x\\} \\*y}", "a-b-c \\ {x} y"},
      {"{\\rtf1 one\\tab two\\emdash three\\b0 bold\\fi-360 x\\u8212?y}", "one two threeboldx?y"},
      {"{\\rtf1 keep{\\*\\bkmkstart hidden} this}", "keep this"},
      {"{\\rtf1 {\\field{\\*\\fldinst HYPERLINK x}{\\fldrslt shown}}}", "shown"},
      {"{\\rtf1 stop\\'00here}", "stop"},
      {"{\\rtf1 line\nnext}", "line"},
      {"{\\rtf1 odd\\'zz}", "oddzz"},
  };
  std::string text;
  for (const auto& [body, expected] : cases) {
    SCOPED_TRACE(body);
    EXPECT_TRUE(isRichText(body));
    indexText(body, text);
    EXPECT_EQ(text, expected);
  }
  EXPECT_FALSE(isRichText("{\\rtf2 x}"));
}

TEST(RichText, PlainTextIsTheVisibleText) {
  const struct {
    const char* body;
    const char* text;
  } cases[] = {
      {"plain text {\\b stays}\\par as it is", "plain text {\\b stays}\\par as it is"},
      {"{\\rt not rich}", "{\\rt not rich}"},
      {"{\\rtf2 not rich}", "{\\rtf2 not rich}"},
      {"{\\rtf1\\ansi{\\fonttbl\\f0\\fswiss Arial;}{\\colortbl;\\red255\\green0\\blue0;}"
       "\\f0\\fs20 {\\b bold} and {\\i italic}\\par next}",
       "bold and italic\nnext"},
      {"{\\rtf1 caf\\'e9\\tab x\\line y}", "caf\xE9\tx\ny"},
      {"{\\rtf1 a\\emdash b\\endash c\\bullet d \\lquote e\\rquote  \\ldblquote f\\rdblquote}",
       "a\x97"
       "b\x96"
       "c\x95"
       "d \x91"
       "e\x92 \x93"
       "f\x94"},
      {"{\\rtf1 \\{braces\\} and \\\\ back}", "{braces} and \\ back"},
      {"{\\rtf1 non\\~breaking opt\\-ional hard\\_hyphen}",
       "non\xA0"
       "breaking optional hard-hyphen"},
      {"{\\rtf1 euro \\u8364? and \\u20320? no}", "euro \x80 and ? no"},
      {"{\\rtf1\\uc2 two \\u233XY fallback}", "two \xE9 fallback"},
      {"{\\rtf1 seen{\\*\\generator Writer 1.0;}{\\*\\unknown hidden} too}", "seen too"},
      {"{\\rtf1 {\\field{\\*\\fldinst HYPERLINK \"x\"}{\\fldrslt shown}}}", "shown"},
      {"{\\rtf1 line\r\nbreaks in source\\par\\par}", "linebreaks in source"},
  };
  for (const auto& c : cases) EXPECT_EQ(plainText(c.body), c.text) << c.body;
}

TEST(RichText, BrokenRichTextEndsWithoutReadingPastIt) {
  for (const char* body : {"{\\rtf1", "{\\rtf1 \\", "{\\rtf1 \\'", "{\\rtf1 \\'4", "{\\rtf1 {{{{",
                           "{\\rtf1 }}}} x", "{\\rtf1 \\u", "{\\rtf1 \\u-", "{\\rtf1 \\u65",
                           "{\\rtf1 {\\fonttbl unclosed", "{\\rtf1 {\\*"}) {
    const std::string text = plainText(body);
    EXPECT_LE(text.size(), std::string(body).size()) << body;
    std::string words;
    indexText(body, words);
    EXPECT_LE(words.size(), std::string(body).size()) << body;
    (void)formattedText(body);
  }
  EXPECT_EQ(plainText("{\\rtf1 }}}} x"), " x");
  EXPECT_EQ(plainText("{\\rtf1 \\u65"), "A");
}

// Runs keep their formatting; groups restore it; tables give fonts and colours.
TEST(RichText, FormattedTextKeepsRunsParagraphsAndTables) {
  const FormattedText text = formattedText(
      "{\\rtf1\\ansi{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\froman{\\*\\panose 0} Times;}}"
      "{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue128;}"
      "\\f0\\fs20 plain {\\b bold {\\i both}} \\cf1 red\\cf0\\par"
      "\\f1\\fs28\\ul under\\ulnone  caf\\'e9\\line x\\tab y}");
  ASSERT_EQ(text.fonts.size(), 2u);
  EXPECT_EQ(text.fonts[0].name, "Arial");
  EXPECT_EQ(text.fonts[1].number, 1);
  EXPECT_EQ(text.fonts[1].name, " Times");
  EXPECT_EQ(text.colours, (std::vector<uint32_t>{0, 0xFF0000, 0x000080}));
  ASSERT_EQ(text.paragraphs.size(), 2u);
  std::vector<std::pair<std::string, std::string>> runs;  // text, then b/i/u/c flags
  for (const Paragraph& p : text.paragraphs) {
    for (const rtf::Run& r : p.runs) {
      runs.emplace_back(r.text, std::string(r.bold ? "b" : "") + (r.italic ? "i" : "") +
                                    (r.underline ? "u" : "") + (r.colour ? "c" : "") +
                                    std::to_string(r.font) + "/" + std::to_string(r.halfPoints));
    }
  }
  EXPECT_EQ(runs, (std::vector<std::pair<std::string, std::string>>{{"plain ", "0/20"},
                                                                    {"bold ", "b0/20"},
                                                                    {"both", "bi0/20"},
                                                                    {" ", "0/20"},
                                                                    {"red", "c0/20"},
                                                                    {"under", "u1/28"},
                                                                    {" caf\xE9\nx\ty", "1/28"}}));
}

TEST(RichText, OnlyABodyOpeningWithTheWholeMarkIsShownAsRichText) {
  EXPECT_EQ(formattedText("{\\rtf {\\b x}}").paragraphs.at(0).runs.at(0).text, "x");
  EXPECT_EQ(formattedText("{\\rt {\\b x}}").paragraphs.at(0).runs.at(0).text, "{\\rt {\\b x}}");
  EXPECT_FALSE(showsAsRichText("{\\rtf"));
}

TEST(RichText, PlainBodiesBecomeOneParagraphPerLine) {
  const FormattedText text = formattedText("first line\r\nsecond");
  ASSERT_EQ(text.paragraphs.size(), 2u);
  EXPECT_EQ(text.paragraphs[0].runs.at(0).text, "first line");
  EXPECT_EQ(text.paragraphs[1].runs.at(0).text, "second");
  EXPECT_FALSE(text.paragraphs[1].runs.at(0).bold);
}

}  // namespace
}  // namespace qel::rtf
