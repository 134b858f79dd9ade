// qel-cli build: reads a text source in the builder's line syntax and writes a dictionary.
#include <cstdio>
#include <ostream>

#include "cli/Arguments.h"
#include "cli/Cli.h"
#include "maintenance/DictionaryBuilder.h"
#include "maintenance/FoldTable.h"
#include "maintenance/LineListSource.h"
#include "platform/Cp1252.h"
#include "platform/FileAccess.h"

namespace qel::cli {
namespace {

// The source lines in code page 1252, with the build log shown as it is written.
class TextFileSource : public LineListSource {
 public:
  TextFileSource(std::vector<std::string> lines, std::ostream& out, std::ostream& err)
      : LineListSource(std::move(lines)), m_out(out), m_err(err) {}

  void info(const std::string& text) override { m_out << cp1252::toUtf8(text) << std::flush; }
  void error(const std::string& text) override { m_err << cp1252::toUtf8(text) << std::flush; }

 private:
  std::ostream& m_out;
  std::ostream& m_err;
};

// Splits the source into lines, converting UTF-8 to code page 1252. A line that the code page
// cannot hold is reported with its number and left out.
std::vector<std::string> readLines(const std::string& content, bool utf8, std::ostream& err) {
  std::vector<std::string> lines;
  size_t start = 0;
  long number = 0;
  std::string converted;
  while (start < content.size()) {
    size_t end = content.find('\n', start);
    if (end == std::string::npos) end = content.size();
    ++number;
    std::string_view line(content.data() + start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (!utf8) {
      lines.emplace_back(line);
    } else if (cp1252::fromUtf8(line, converted)) {
      lines.push_back(converted);
    } else {
      err << "line " << number << ": a character that code page 1252 cannot hold - line skipped\n";
    }
    start = end + 1;
  }
  return lines;
}

}  // namespace

int buildCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  Arguments a;
  BuildParameters p;
  p.fold = lowerCaseFoldTable();
  if (!a.parse(args, {"description", "shortest", "longest", "common", "encoding"}, {}) ||
      !a.number("shortest", p.shortest) || !a.number("longest", p.longest) ||
      !a.number("common", p.commonWordPercentage)) {
    err << "qel-cli build: " << a.error() << "\n";
    return kError;
  }
  if (a.positional().size() != 2) {
    err << "qel-cli build: give one SOURCE and one OUT.qcd\n";
    return kError;
  }
  const std::string encoding = a.value("encoding").value_or("utf-8");
  if (encoding != "utf-8" && encoding != "cp1252") {
    err << "qel-cli build: --encoding is utf-8 or cp1252, not \"" << encoding << "\"\n";
    return kError;
  }
  if (!cp1252::fromUtf8(a.value("description").value_or(""), p.description)) {
    err << "qel-cli build: the description has a character that code page 1252 cannot hold\n";
    return kError;
  }
  // Writing the dictionary over its own source would destroy the source before it is read.
  if (sameFile(a.positional()[0], a.positional()[1])) {
    err << "qel-cli build: \"" << a.positional()[1]
        << "\" is the source file; give another OUT.qcd\n";
    return kError;
  }
  int error = 0;
  std::FILE* file = openRegularFile(a.positional()[0], error);
  if (!file) {
    err << "qel-cli build: cannot read \"" << a.positional()[0] << "\": " << fileErrorText(error)
        << "\n";
    return kError;
  }
  std::string content;
  char buffer[65536];
  for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;) content.append(buffer, n);
  const bool readFailed = std::ferror(file);
  std::fclose(file);
  if (readFailed) {
    err << "qel-cli build: cannot read \"" << a.positional()[0] << "\"\n";
    return kError;
  }
  TextFileSource source(readLines(content, encoding == "utf-8", err), out, err);
  p.outputPath = a.positional()[1];
  return buildDictionary(source, p) ? kFound : kError;
}

}  // namespace qel::cli
