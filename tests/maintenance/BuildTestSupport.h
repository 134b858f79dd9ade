// Test helpers for the dictionary builder: a source held in memory that records the build log, and
// the written file read back: header and entry streams through the dictionary reader, definition
// records and reference values straight from the bytes.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "dictionary/Dictionary.h"
#include "maintenance/DictionaryBuilder.h"

namespace qel::buildtest {

class MemorySource : public BuildSource {
 public:
  explicit MemorySource(std::vector<std::string> lines) : lines(std::move(lines)) {}

  void rewind() override {
    ++rewinds;
    m_next = 0;
  }
  Line nextLine(std::string& line, long count) override {
    if (onLine) onLine(rewinds, count);
    if (abandonInRead == rewinds && count == abandonAtLine) return Line::Abandoned;
    if (m_next >= lines.size()) return Line::End;
    line = lines[m_next++];
    return Line::Text;
  }
  bool keepGoing() override { return ++asked != stopAtEntry; }
  void info(const std::string& text) override { infos.push_back(text); }
  void error(const std::string& text) override { errors.push_back(text); }

  std::vector<std::string> lines;
  std::vector<std::string> infos, errors;
  int rewinds = 0;
  int abandonInRead = 0;   // the read (1 = calibration) in which to abandon ...
  long abandonAtLine = 0;  // ... at this line count
  long stopAtEntry = -1;   // keepGoing answers false on this call
  long asked = 0;
  std::function<void(int, long)> onLine;

 private:
  size_t m_next = 0;
};

BuildParameters parameters(const std::string& path);
std::string temporaryPath(const std::string& name);
std::string readFile(const std::string& path);

struct Record {
  std::vector<std::pair<std::string, std::string>> pairs;
  std::string body;
};

struct WrittenFile {
  explicit WrittenFile(const std::string& path);

  uint32_t u32(size_t offset) const;
  std::vector<uint32_t> u32s(size_t offset, size_t count) const;
  std::vector<uint32_t> referenceList(uint32_t offset) const;  // low 31 bits, up to the marked one
  Record record(uint32_t offset) const;
  // Section `length`: the entries ("word\nannotation") and which of them carry references, and the
  // index terms.
  std::vector<std::string> entries(int length, std::vector<bool>* flags = nullptr);
  std::vector<std::string> terms(int length);

  Dictionary reader;
  std::string bytes;
};

}  // namespace qel::buildtest
