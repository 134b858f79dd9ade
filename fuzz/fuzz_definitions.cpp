// Damaged definition regions and reference tables: definitions of a word and both full-text
// searches must end cleanly, never crash, read outside the file or loop without end.
//
// An input that starts with "QCD" is taken as a whole dictionary file. Any other input is a list
// of patches applied to a small dictionary with definitions built here, from its first definition
// record to its end, so that mutations reach the records, reference lists and tables at once:
// each patch is a 2-byte position, a length byte and that many bytes; a first byte with its top
// bit set also cuts the file short at the position given by the next two bytes.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "ScratchFiles.h"
#include "dictionary/DefinitionsOfWord.h"
#include "dictionary/QCDictionaryList.h"
#include "maintenance/DictionaryBuilder.h"
#include "maintenance/FoldTable.h"
#include "pattern/MatchEngineSet.h"
#include "search/QCDictionaryDefinitionSearchIndexed.h"
#include "search/QCDictionaryDefinitionSearchSequential.h"

namespace {

std::string scratchPath(const char* what) { return qel::fuzz::scratchFile("definitions", what); }

class SeedSource : public qel::BuildSource {
 public:
  void rewind() override { m_next = 0; }
  Line nextLine(std::string& line, long) override {
    static const char* const kLines[] = {
        "abcdefghijklm:nopqrstuvwxyz|Every letter.",
        "apple:pome;malus|The apple is a round fruit of a tree by the river.",
        "bank++1+|The bank of a river is its edge.",
        "bank++2+:depot|A place that holds money.",
        "tail-end:tailend|The last part of the river.",
        ";hidden|A region one record about a river.",
        "delta|{\\rtf1\\ansi{\\fonttbl\\f0 Arial;}\\b river\\b0  mouth\\par caf\\'e9}",
        "river:stream|Water that flows in a bed to the sea.",
        "sea|The salt water; the ocean by the sand.",
        "sand|Loose grains of rock by the sea and the river.",
    };
    if (m_next >= std::size(kLines)) return Line::End;
    line = kLines[m_next++];
    return Line::Text;
  }
  bool keepGoing() override { return true; }
  void info(const std::string&) override {}
  void error(const std::string&) override {}

 private:
  size_t m_next = 0;
};

struct Seed {
  std::string bytes;
  size_t region1 = 0;
};

const Seed& seed() {
  static const Seed s = [] {
    Seed out;
    const std::string path = scratchPath("-seed.qcd");
    SeedSource source;
    qel::BuildParameters p;
    p.fold = qel::lowerCaseFoldTable();
    p.outputPath = path;
    p.commonWordPercentage = 50;
    if (!qel::buildDictionary(source, p)) return out;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    char buffer[4096];
    size_t n = 0;
    while (f && (n = std::fread(buffer, 1, sizeof buffer, f)) > 0) out.bytes.append(buffer, n);
    if (f) std::fclose(f);
    std::remove(path.c_str());
    if (out.bytes.size() > 10) {
      const auto* b = reinterpret_cast<const uint8_t*>(out.bytes.data());
      out.region1 = b[6] | (b[7] << 8) | (b[8] << 16) | (static_cast<uint32_t>(b[9]) << 24);
    }
    return out;
  }();
  return s;
}

std::string patched(const uint8_t* data, size_t size) {
  std::string bytes = seed().bytes;
  const size_t from = seed().region1;
  if (bytes.empty() || from >= bytes.size()) return bytes;
  const size_t span = bytes.size() - from;
  size_t i = 0;
  size_t cut = bytes.size();
  if (size >= 3 && (data[0] & 0x80)) {
    cut = from + ((data[1] | (data[2] << 8)) % span);
    i = 3;
  }
  while (i + 3 <= size) {
    size_t at = from + ((data[i] | (data[i + 1] << 8)) % span);
    size_t count = data[i + 2];
    i += 3;
    for (; count > 0 && i < size; --count, ++i, ++at) {
      if (at < bytes.size()) bytes[at] = static_cast<char>(data[i]);
    }
  }
  bytes.resize(cut);
  return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const bool whole = size >= 3 && data[0] == 'Q' && data[1] == 'C' && data[2] == 'D';
  const std::string bytes =
      whole ? std::string(reinterpret_cast<const char*>(data), size) : patched(data, size);
  const std::string path = scratchPath(".qcd");
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return 0;
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);

  qel::QCDictionaryList list(path);
  if (!list.recheck(0)) return 0;
  std::vector<qel::Definition> found;
  for (const char* word : {"river", "bank", "tail end", "delta", "hidden", "sea"}) {
    qel::definitionsOfWord(list, word, found);
  }
  for (const char* text : {"river", "sea & (sand | salt)", "r.v.r | b..k", "!river", "t*"}) {
    qel::MatchEngineSet patterns;
    patterns.setStepBound(20000);  // any pattern must finish within seconds here
    if (patterns.parse(list.alphabet(0), text, 1, 31) != qel::pattern::PatternError::kValid)
      continue;
    qel::QCDictionaryDefinitionSearchIndexed indexed(list, 0, patterns);
    qel::Definition d;
    while (indexed.next(d)) {
    }
    // Every record read moves the search on by at least one byte of a bounded region.
    qel::QCDictionaryDefinitionSearchSequential sequential(list, 0, patterns);
    while (sequential.next(3) != qel::QCDictionaryDefinitionSearchSequential::Step::Finished) {
    }
  }
  return 0;
}
