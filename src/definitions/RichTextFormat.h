// Rich-text definition bodies read as formatted text, for a window to render: paragraphs of runs,
// each run with its character formatting, and the font and colour tables they refer to.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qel::rtf {

struct Run {
  std::string text;  // code page 1252; a line break inside a paragraph is "\n", a tab "\t"
  bool bold = false;
  bool italic = false;
  bool underline = false;
  int font = -1;       // a number of the font table, -1 for the default
  int halfPoints = 0;  // the size in half points, 0 for the default
  int colour = 0;      // an index of the colour table, 0 for the default colour
};

struct Paragraph {
  std::vector<Run> runs;
};

struct FontEntry {
  int number = 0;
  std::string name;
};

struct FormattedText {
  std::vector<FontEntry> fonts;
  // 0xRRGGBB; entry 0 stands for the default colour (the table's empty first entry).
  std::vector<uint32_t> colours;
  std::vector<Paragraph> paragraphs;  // at least one
};

// A window shows a body as rich text when it opens with "{\rtf" and goes on (the index reads
// only "{\rtf1" bodies as rich text; a window is more forgiving of the version).
bool showsAsRichText(std::string_view body);

// A body that is not shown as rich text becomes one run per line, unformatted.
FormattedText formattedText(std::string_view body);

}  // namespace qel::rtf
