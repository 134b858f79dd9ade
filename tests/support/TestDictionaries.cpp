#include "support/TestDictionaries.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "dictionary/Alphabet.h"
#include "dictionary/Dictionary.h"
#include "dictionary/EntryEnumerator.h"
#include "maintenance/FoldTable.h"
#include "platform/Cp1252.h"

namespace qel::test {

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "qel-test-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) std::abort();
  m_path = pattern;
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(m_path, ec);
}

BuildSource::Line MemorySource::nextLine(std::string& line, long count) {
  if (abandonAfter >= 0 && count >= abandonAfter) return Line::Abandoned;
  return LineListSource::nextLine(line, count);
}

bool buildTestDictionary(const std::string& path, const std::vector<std::string>& lines,
                         const BuildOptions& options, std::string* log) {
  MemorySource source(lines);
  BuildParameters p;
  p.fold = lowerCaseFoldTable();
  p.outputPath = path;
  p.description = options.description;
  p.shortest = options.shortest;
  p.longest = options.longest;
  p.commonWordPercentage = options.common;
  const bool ok = buildDictionary(source, p);
  if (log) *log = source.log;
  return ok;
}

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void writeFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

std::vector<std::string> systemWordList() {
  std::ifstream in("/usr/share/dict/british-english-huge");
  std::vector<std::string> words;
  std::string line, converted;
  while (std::getline(in, line)) {
    if (cp1252::fromUtf8(line, converted)) words.push_back(converted);
  }
  return words;
}

std::vector<std::string> folderContents(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(folder)) {
    names.push_back(e.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::vector<std::string> entryTexts(const std::string& path, std::string* description) {
  Dictionary d;
  if (!d.open(path, false).ok()) return {"invalid"};
  if (description) *description = d.description();
  std::vector<std::string> texts;
  for (int length = 1; length < d.slotCount(); ++length) {
    EntryEnumerator e(d);
    if (!e.selectLength(length)) continue;
    while (e.next(nullptr)[0] != kEndOfLetters) {
      texts.push_back(std::string(e.word()));
      if (e.annotation()) texts.back() += "\n" + std::string(e.annotation());
    }
  }
  return texts;
}

}  // namespace qel::test
