// Everything a build collects from its source and works out on the way to the file, shared by the
// steps of the build (calibration, analysis, definition output, section output).
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "dictionary/FileFormat.h"
#include "maintenance/BuildAlphabet.h"
#include "maintenance/DictionaryBuilder.h"
#include "maintenance/IndexWords.h"
#include "maintenance/OutputFile.h"
#include "maintenance/PrefixCode.h"

namespace qel::build {

// One entry as the source gave it. Entries with equal texts are merged when they are written.
struct EntryRecord {
  uint64_t offset;      // of its text in BuildState::entryText
  uint16_t size;        // bytes of the text (word, line feed, annotation)
  uint16_t wordSize;    // bytes of the word
  uint32_t definition;  // number of its line's definition, 0 when the line has no body
};

struct LengthGroup {
  std::vector<EntryRecord> records;  // in file order once sorted
  std::vector<uint32_t> runStarts;   // first record of each distinct entry, then records.size()
  std::vector<uint32_t> words;       // per distinct entry: its index word, or kNoWord
  std::vector<uint32_t> terms;       // index words written as index terms of this length, in order

  size_t distinct() const { return runStarts.empty() ? 0 : runStarts.size() - 1; }
};

// The header values that are only known at the end of the build.
struct HeaderTables {
  int slots = 0;  // N
  uint32_t region1Start = 0, region2Start = 0, definitionsEnd = 0;
  std::array<uint32_t, format::kMaxSlots> indexTable{}, entryReference{}, entryReferenceCount{},
      section{}, entryCount{};
};

// Writes "<prefix><field>\n" to the log every 64 source lines, at most every 500 ms.
class ProgressLine {
 public:
  explicit ProgressLine(BuildSource& source)
      : m_source(source), m_last(std::chrono::steady_clock::now()) {}
  void atLine(long count, std::string_view prefix, std::string_view field);

 private:
  BuildSource& m_source;
  std::chrono::steady_clock::time_point m_last;
};

struct BuildState {
  BuildState(BuildSource& s, const BuildParameters& p) : source(s), parameters(p), progress(s) {}

  BuildSource& source;
  BuildParameters parameters;  // limits already applied
  ProgressLine progress;

  ByteTable canonical{};
  std::string entryText;  // the texts of all entries, one after the other
  std::array<LengthGroup, format::kMaxSlots> lengths;
  // Per definition number - 1: the output pass of its record (0: the line has no body) and the
  // record's file offset once written (0 until then).
  std::vector<uint8_t> definitionPass;
  std::vector<uint32_t> recordOffset;
  IndexWords words;

  ByteCounts frequency{};
  BuildAlphabet alphabet;
  PrefixCode code;
  HeaderTables header;
  OutputFile file;

  std::string_view text(const EntryRecord& r) const {
    return std::string_view(entryText).substr(r.offset, r.size);
  }
};

inline constexpr char kAbandoned[] = "Dictionary creation abandoned\n";

}  // namespace qel::build
