// The text file source gives the same lines in every pass, as the file holds them, and ends the
// build when the file changes between passes.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "maintenance/TextFileSource.h"
#include "support/TestDictionaries.h"

namespace qel {
namespace {

class RecordingSource : public TextFileSource {
 public:
  void info(const std::string& text) override { log += text; }
  void error(const std::string& text) override { log += text; }

  // Every line of one pass, and how the pass ended.
  std::vector<std::string> pass(Line* end = nullptr) {
    rewind();
    std::vector<std::string> lines;
    std::string line;
    Line result;
    for (long count = 1; (result = nextLine(line, count)) == Line::Text; ++count) {
      lines.push_back(line);
    }
    if (end) *end = result;
    return lines;
  }

  std::string log;
};

using Lines = std::vector<std::string>;

TEST(TextFileSource, EveryPassGivesTheLinesOfTheFile) {
  struct Case {
    const char* name;
    std::string bytes;
    TextFileSource::Encoding encoding;
    Lines lines;
    std::string log;  // of the first pass; later passes add nothing
  };
  const std::string longLine(3 << 20, 'x');  // longer than the read buffer
  const Case cases[] = {
      {"plain", "one\ntwo|body\n", TextFileSource::Encoding::Utf8, {"one", "two|body"}, ""},
      {"no final line feed", "one\ntwo", TextFileSource::Encoding::Utf8, {"one", "two"}, ""},
      {"CR LF", "one\r\n\r\ntwo\r\n", TextFileSource::Encoding::Utf8, {"one", "", "two"}, ""},
      {"UTF-8 converted", "caf\xC3\xA9\n", TextFileSource::Encoding::Utf8, {"caf\xE9"}, ""},
      {"byte-order mark",
       "\xEF\xBB\xBFone\ntwo\n",
       TextFileSource::Encoding::Utf8,
       {"one", "two"},
       ""},
      {"byte-order mark alone", "\xEF\xBB\xBF", TextFileSource::Encoding::Utf8, {""}, ""},
      {"code page 1252 as it is", "caf\xE9\n", TextFileSource::Encoding::Cp1252, {"caf\xE9"}, ""},
      {"unconvertible line kept as an empty line",
       "a\n\xE2\x88\x9E\nb\n",
       TextFileSource::Encoding::Utf8,
       {"a", "", "b"},
       "line 2: a character that code page 1252 cannot hold - line skipped\n"},
      {"code page 1252 read as UTF-8",
       "caf\xE9\n",
       TextFileSource::Encoding::Utf8,
       {""},
       "line 1: not UTF-8 text (a code page 1252 file needs that encoding chosen) - line "
       "skipped\n"},
      // Never held whole: skipped, however long, and the lines around it kept.
      {"line longer than the read buffer",
       "a\n" + longLine + "\nb",
       TextFileSource::Encoding::Utf8,
       {"a", "", "b"},
       "line 2: longer than 65536 bytes - line skipped\n"},
      {"longest line kept",
       std::string(65536, 'y'),
       TextFileSource::Encoding::Cp1252,
       {std::string(65536, 'y')},
       ""},
      {"no line end at all",
       longLine,
       TextFileSource::Encoding::Cp1252,
       {""},
       "line 1: longer than 65536 bytes - line skipped\n"},
      {"NUL byte",
       std::string("a\nb\0c\n", 6),
       TextFileSource::Encoding::Utf8,
       {"a", ""},
       "line 2: a NUL byte, which no text holds - line skipped\n"},
      {"empty file", "", TextFileSource::Encoding::Utf8, {}, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    test::TempDir dir;
    test::writeFile(dir.file("source.txt"), c.bytes);
    RecordingSource source;
    ASSERT_TRUE(source.open(dir.file("source.txt"), c.encoding).ok());
    BuildSource::Line end = BuildSource::Line::Text;
    EXPECT_EQ(source.pass(&end), c.lines);
    EXPECT_EQ(end, BuildSource::Line::End);
    EXPECT_EQ(source.pass(), c.lines);
    EXPECT_EQ(source.log, c.log);
    // A pass read to its end has read the whole file, for a progress bar.
    EXPECT_EQ(source.size(), c.bytes.size());
    EXPECT_EQ(source.position(), c.bytes.size());
  }
}

TEST(TextFileSource, ChangedFileEndsTheBuildAndUnreadableFileSaysWhy) {
  test::TempDir dir;
  const std::string path = dir.file("source.txt");
  test::writeFile(path, "one\ntwo\n");
  RecordingSource source;
  ASSERT_TRUE(source.open(path, TextFileSource::Encoding::Utf8).ok());
  EXPECT_EQ(source.pass(), (Lines{"one", "two"}));
  test::writeFile(path, "one\ntwo\nthree\n");
  BuildSource::Line end = BuildSource::Line::Text;
  EXPECT_EQ(source.pass(&end), Lines{});
  EXPECT_EQ(end, BuildSource::Line::Abandoned);
  EXPECT_EQ(source.log, "The source file changed during the build\n");

  RecordingSource missing;
  const Status opened = missing.open(dir.file("none.txt"), TextFileSource::Encoding::Utf8);
  EXPECT_EQ(opened.code(), Status::Code::kNotFound);
  EXPECT_EQ(opened.reason(), "No such file or directory");
}

}  // namespace
}  // namespace qel
