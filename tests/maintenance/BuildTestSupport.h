// Test helpers for the dictionary builder: a source held in memory that records the build log, and
// a plain reader of the written file that decodes the bit streams straight from the symbol records.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

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
  int abandonInRead = 0;  // the read (1 = calibration) in which to abandon ...
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

struct Item {
  std::string text;
  bool flag = false;
};

struct Record {
  std::vector<std::pair<std::string, std::string>> pairs;
  std::string body;
};

// A version 1 file read back field by field. Every read is bounds-checked by the test framework.
struct WrittenFile {
  explicit WrittenFile(const std::string& path);

  uint16_t u16(size_t offset) const;
  uint32_t u32(size_t offset) const;
  std::vector<uint32_t> u32s(size_t offset, size_t count) const;
  std::vector<uint32_t> referenceList(uint32_t offset) const;  // up to the marked value
  Record record(uint32_t offset) const;
  // The entries (with their reference flags) and the index terms of section `length`.
  void section(int length, std::vector<Item>& entries, std::vector<std::string>& terms) const;
  int8_t score(int length, int position, int letter) const;
  int letterIndex(uint8_t c) const { return symbols[c].index; }

  std::string bytes;
  std::string tag;
  int n = 0;
  uint32_t region1 = 0, region2 = 0, definitionsEnd = 0;
  std::vector<uint32_t> indexTable, entryReference, entryReferenceCount, section_, entryCount;
  std::string description;
  int s = 0, t = 0;
  struct Symbol {
    uint8_t canonical = 0;
    uint8_t length = 0;
    int16_t index = 0;
    uint32_t code = 0;
  };
  std::array<Symbol, 256> symbols;
  size_t scoresAt = 0;
};

}  // namespace qel::buildtest
