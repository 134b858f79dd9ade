#include "BuildTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "dictionary/ByteOrder.h"
#include "dictionary/EntryEnumerator.h"
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
  EXPECT_TRUE(reader.open(path, true).ok()) << reader.description();
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
    values.push_back(u32(at) & format::kValueMask);
    if (u32(at) & format::kLastValueBit) return values;
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
    EXPECT_LT(at++, bytes.size()) << "unterminated string";
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

std::vector<std::string> WrittenFile::entries(int length, std::vector<bool>* flags) {
  std::vector<std::string> texts;
  EntryEnumerator e(reader);
  if (!e.selectLength(length)) return texts;
  while (e.next(nullptr)[0] != kEndOfLetters) {
    texts.push_back(e.text());
    if (e.annotation()) texts.back() += "\n" + std::string(e.annotation());
    if (flags) flags->push_back(e.referenceNumber().has_value());
  }
  return texts;
}

std::vector<std::string> WrittenFile::terms(int length) {
  std::vector<std::string> texts;
  EntryEnumerator e(reader);
  if (!e.selectLength(length)) return texts;
  while (e.next(nullptr)[0] != kEndOfLetters) {
  }
  while (e.groupState() == 1 && e.next(nullptr)[0] != kEndOfLetters) texts.push_back(e.text());
  return texts;
}

}  // namespace qel::buildtest
