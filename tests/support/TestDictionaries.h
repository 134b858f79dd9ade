// Test dictionaries written by our own builder into temporary folders.
#pragma once

#include <string>
#include <vector>

#include "maintenance/DictionaryBuilder.h"
#include "maintenance/LineListSource.h"

namespace qel::test {

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return m_path; }
  std::string file(const std::string& name) const { return m_path + "/" + name; }

 private:
  std::string m_path;
};

// Source lines in memory (code page 1252) that can also give up part way.
class MemorySource : public LineListSource {
 public:
  using LineListSource::LineListSource;
  Line nextLine(std::string& line, long count) override;
  bool keepGoing() override { return m_keepGoing; }

  long abandonAfter = -1;  // answer Abandoned once this many lines were asked for
  bool m_keepGoing = true;
};

struct BuildOptions {
  std::string description = "test dictionary";
  int shortest = 1;
  int longest = 31;
  int common = 0;
};

// Builds `lines` into `path` with the lower-case fold table; fails the calling test on error.
bool buildTestDictionary(const std::string& path, const std::vector<std::string>& lines,
                         const BuildOptions& options = {}, std::string* log = nullptr);

std::string readFile(const std::string& path);
void writeFile(const std::string& path, const std::string& bytes);

// Lines of the installed big word list in code page 1252, or empty if it is not installed.
std::vector<std::string> systemWordList();
// The names in a folder, sorted: what a failed or cancelled save must leave behind.
std::vector<std::string> folderContents(const std::string& folder);
// The entries of a dictionary file in file order ("word", or "word\nannotation"), shortest first;
// {"invalid"} for a file that is no valid dictionary. `description` receives its description.
std::vector<std::string> entryTexts(const std::string& path, std::string* description = nullptr);

}  // namespace qel::test
