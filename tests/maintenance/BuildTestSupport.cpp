#include "BuildTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "dictionary/ByteOrder.h"
#include "dictionary/FileFormat.h"
#include "maintenance/FoldTable.h"

namespace qel::buildtest {

BuildParameters parameters(const std::string& path) {
  BuildParameters p;
  p.fold = lowerCaseFoldTable();
  p.outputPath = path;
  p.description = "test dictionary";
  return p;
}

std::string temporaryPath(const std::string& name) {
  const auto dir = std::filesystem::temp_directory_path() / "qel-build-tests";
  std::filesystem::create_directories(dir);
  const auto path = dir / (name + ".qcd");
  std::filesystem::remove(path);
  return path.string();
}

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

WrittenFile::WrittenFile(const std::string& path) : bytes(readFile(path)) {
  if (bytes.size() < 6) {
    ADD_FAILURE() << path << " is too short";
    return;
  }
  tag = bytes.substr(0, 4);
  n = u16(4);
  region1 = u32(6);
  region2 = u32(10);
  definitionsEnd = u32(14);
  for (auto [table, at] : {std::pair{&indexTable, format::indexTableOffsetAt(n)},
                           {&entryReference, format::entryReferenceOffsetAt(n)},
                           {&entryReferenceCount, format::entryReferenceCountAt(n)},
                           {&section_, format::sectionOffsetAt(n)},
                           {&entryCount, format::entryCountAt(n)}}) {
    *table = u32s(at, n);
  }
  description = bytes.substr(format::descriptionAt(n), format::kDescriptionSize);
  description.resize(description.find('\0'));
  s = u16(format::alphabetSizesAt(n));
  t = u16(format::alphabetSizesAt(n) + 2);
  for (int i = 0; i < 256; ++i) {
    const size_t at = format::symbolRecordsAt(n) + 8 * i;
    symbols[i] = {static_cast<uint8_t>(bytes.at(at)), static_cast<uint8_t>(bytes.at(at + 1)),
                  static_cast<int16_t>(u16(at + 2)), u32(at + 4)};
  }
  EXPECT_EQ(u16(format::scoreBlockCountAt(n)), format::scoreBlockCount(n));
  scoresAt = format::scoreBlockCountAt(n) + 2;
}

uint16_t WrittenFile::u16(size_t offset) const {
  EXPECT_LE(offset + 2, bytes.size());
  if (offset + 2 > bytes.size()) return 0;
  return decodeU16(reinterpret_cast<const uint8_t*>(bytes.data() + offset));
}

uint32_t WrittenFile::u32(size_t offset) const {
  EXPECT_LE(offset + 4, bytes.size());
  if (offset + 4 > bytes.size()) return 0;
  return decodeU32(reinterpret_cast<const uint8_t*>(bytes.data() + offset));
}

std::vector<uint32_t> WrittenFile::u32s(size_t offset, size_t count) const {
  std::vector<uint32_t> values;
  for (size_t i = 0; i < count; ++i) values.push_back(u32(offset + 4 * i));
  return values;
}

std::vector<uint32_t> WrittenFile::referenceList(uint32_t offset) const {
  std::vector<uint32_t> values;
  for (size_t at = offset; at + 4 <= bytes.size(); at += 4) {
    const uint32_t v = u32(at);
    values.push_back(v & format::kValueMask);
    if (v & format::kLastValueBit) return values;
  }
  ADD_FAILURE() << "reference list at " << offset << " has no end";
  return values;
}

Record WrittenFile::record(uint32_t offset) const {
  Record r;
  size_t at = offset;
  auto masked = [&] {
    std::string text;
    while (at < bytes.size() && static_cast<uint8_t>(bytes[at]) != format::kDefinitionMask) {
      text.push_back(static_cast<char>(bytes[at++] ^ format::kDefinitionMask));
    }
    EXPECT_LT(at, bytes.size()) << "unterminated string";
    ++at;
    return text;
  };
  const int pairs = static_cast<uint8_t>(bytes.at(at++));
  for (int i = 0; i < pairs; ++i) {
    std::string first = masked();
    r.pairs.emplace_back(first, masked());
  }
  r.body = masked();
  return r;
}

void WrittenFile::section(int length, std::vector<Item>& entries,
                          std::vector<std::string>& terms) const {
  entries.clear();
  terms.clear();
  std::map<std::pair<int, uint32_t>, int> decode;
  for (int i = 0; i < 256; ++i) {
    if (symbols[i].length > 0) decode[{symbols[i].length, symbols[i].code}] = i;
  }
  size_t bit = 0;
  const size_t start = section_.at(length);
  auto nextBit = [&]() -> uint32_t {
    const uint16_t unit = u16(start + 2 * (bit / 16));
    return (unit >> (bit++ % 16)) & 1u;
  };
  auto nextItem = [&](std::string& text) {  // false at a group end
    text.clear();
    bool letters = false;
    bool annotation = false;
    for (;;) {
      uint32_t code = 0;
      int len = 0;
      auto it = decode.end();
      while (it == decode.end()) {
        code = (code << 1) | nextBit();
        ++len;
        if (len > 32) {
          ADD_FAILURE() << "undecodable bits in section " << length;
          return false;
        }
        it = decode.find({len, code});
      }
      const int symbol = it->second;
      if (symbol == 0) return letters || annotation;
      if (symbol == 10) annotation = true;
      if (!annotation && symbols[symbol].index >= 0) letters = true;
      text.push_back(static_cast<char>(symbol));
    }
  };
  std::string text;
  while (nextItem(text)) entries.push_back({text, nextBit() == 1});
  while (nextItem(text)) terms.push_back(text);
  const size_t used = start + 2 * ((bit + 15) / 16);
  EXPECT_TRUE(used <= bytes.size());
}

int8_t WrittenFile::score(int length, int position, int letter) const {
  const size_t block = static_cast<size_t>(length) * (length - 1) / 2 + position;
  return static_cast<int8_t>(bytes.at(scoresAt + block * s + letter));
}

}  // namespace qel::buildtest
