// Rich-text bodies read as plain text: visible text kept, formatting and hidden groups dropped.
#include <gtest/gtest.h>

#include "dictionary/DefinitionText.h"

namespace qel {
namespace {

TEST(DefinitionText, RichBodiesReduceToTheirVisibleText) {
  const struct {
    const char* body;
    const char* text;
  } cases[] = {
      {"plain text {\\b stays}\\par as it is", "plain text {\\b stays}\\par as it is"},
      {"{\\rt not rich}", "{\\rt not rich}"},
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
  for (const auto& c : cases) EXPECT_EQ(definitionPlainText(c.body), c.text) << c.body;
}

TEST(DefinitionText, BrokenRichTextEndsWithoutReadingPastIt) {
  for (const char* body : {"{\\rtf1", "{\\rtf1 \\", "{\\rtf1 \\'", "{\\rtf1 \\'4", "{\\rtf1 {{{{",
                           "{\\rtf1 }}}} x", "{\\rtf1 \\u", "{\\rtf1 \\u-", "{\\rtf1 \\u65",
                           "{\\rtf1 {\\fonttbl unclosed", "{\\rtf1 {\\*"}) {
    const std::string text = definitionPlainText(body);
    EXPECT_LE(text.size(), std::string(body).size()) << body;
  }
  EXPECT_EQ(definitionPlainText("{\\rtf1 }}}} x"), " x");
  EXPECT_EQ(definitionPlainText("{\\rtf1 \\u65"), "A");
}

}  // namespace
}  // namespace qel
