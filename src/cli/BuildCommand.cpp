// qel-cli build: reads a text source in the builder's line syntax and writes a dictionary.
#include <ostream>

#include "cli/Arguments.h"
#include "cli/Cli.h"
#include "dictionary/CommonnessRanks.h"
#include "dictionary/DecodedSideFile.h"
#include "maintenance/DictionaryBuilder.h"
#include "maintenance/FoldTable.h"
#include "maintenance/TextFileSource.h"
#include "platform/Cp1252.h"
#include "platform/FileAccess.h"

namespace qel::cli {
namespace {

// The source file, read once per pass, with the build log shown as it is written.
class LoggedSource : public TextFileSource {
 public:
  LoggedSource(std::ostream& out, std::ostream& err) : m_out(out), m_err(err) {}

  void info(const std::string& text) override { m_out << cp1252::toUtf8(text) << std::flush; }
  void error(const std::string& text) override { m_err << cp1252::toUtf8(text) << std::flush; }

 private:
  std::ostream& m_out;
  std::ostream& m_err;
};

}  // namespace

int buildCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  Arguments a;
  BuildParameters p;
  p.fold = lowerCaseFoldTable();
  if (!a.parse(args, {"description", "shortest", "longest", "common", "encoding", "ranks"}, {}) ||
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
  LoggedSource source(out, err);
  const Status opened =
      source.open(a.positional()[0], encoding == "utf-8" ? TextFileSource::Encoding::Utf8
                                                         : TextFileSource::Encoding::Cp1252);
  if (!opened.ok()) {
    err << "qel-cli build: cannot read \"" << a.positional()[0] << "\": " << opened.reason()
        << "\n";
    return kError;
  }
  // Ranks are read before the build, so that a bad file fails it before the dictionary is replaced.
  CommonnessRanks ranks;
  if (const auto ranksPath = a.value("ranks")) {
    std::vector<std::string> skipped;
    if (const Status read = ranks.addText(*ranksPath, skipped); !read.ok()) {
      err << "qel-cli build: cannot read the ranks \"" << *ranksPath << "\": " << read.reason()
          << "\n";
      return kError;
    }
    for (const std::string& line : skipped) err << "ranks " << line << " - line skipped\n";
  }
  p.outputPath = a.positional()[1];
  p.ranks = &ranks;
  if (!buildDictionary(source, p)) return kError;
  prepareSideFile(p.outputPath);  // the first search is then as fast as the rest
  return kFound;
}

}  // namespace qel::cli
