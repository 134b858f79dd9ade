#include "maintenance/DefinitionOutput.h"

#include <algorithm>
#include <vector>

#include "maintenance/Calibration.h"
#include "maintenance/SourceLine.h"

namespace qel::build {
namespace {

constexpr size_t kMaxPairs = 255;

void appendRecord(std::string& record, const SourceLine& line, int pass) {
  record.clear();
  record.push_back(0);  // pair count, set below
  size_t pairs = 0;
  if (pass == 2) {
    const size_t fields = line.headingFieldCount();
    for (size_t k = 0; k < fields && pairs < kMaxPairs; ++k) {
      const SourceField& f = line.fields()[k];
      if (f.empty) continue;
      appendMasked(record, line.word(f));
      appendMasked(record, line.tail(f));
      ++pairs;
    }
  }
  record[0] = static_cast<char>(pairs);
  appendMasked(record, line.body());
}

// One read of the source that writes the records whose definitions belong to `pass`.
bool writePass(BuildState& state, int pass) {
  const std::string prefix = "Definition output pass " + std::to_string(pass) + " - ";
  SourceLine line;
  std::string record;
  uint32_t number = 0;
  SourcePass source(state);
  while (source.next(line)) {
    state.progress.atLine(source.count(), prefix, line.firstWord());
    const auto& fields = line.fields();
    if (!std::any_of(fields.begin(), fields.end(),
                     [&](const SourceField& f) { return isKept(f, state.parameters); })) {
      continue;
    }
    // The numbering repeats the calibration pass; a source that grew since then gives nothing more.
    if (++number > state.definitionPass.size()) return true;
    if (state.definitionPass[number - 1] != pass || !line.hasBody()) continue;
    appendRecord(record, line, pass);
    state.recordOffset[number - 1] = static_cast<uint32_t>(state.file.position());
    state.file.write(record);
  }
  return !source.abandoned();
}

}  // namespace

void appendMasked(std::string& out, std::string_view text) {
  for (char c : text)
    out.push_back(static_cast<char>(static_cast<uint8_t>(c) ^ format::kDefinitionMask));
  out.push_back(static_cast<char>(format::kDefinitionMask));
}

bool writeDefinitions(BuildState& state) {
  for (int pass = 1; pass <= 2; ++pass) {
    (pass == 1 ? state.header.region1Start : state.header.region2Start) =
        static_cast<uint32_t>(state.file.position());
    // Reading the source again is only worth it when some record belongs to this pass.
    const bool any = std::find(state.definitionPass.begin(), state.definitionPass.end(), pass) !=
                     state.definitionPass.end();
    if (any && !writePass(state, pass)) return false;
  }
  state.header.definitionsEnd = static_cast<uint32_t>(state.file.position());
  return true;
}

void writeReferenceLists(BuildState& state) {
  std::vector<uint32_t> offsets;
  for (uint32_t id = 0; id < state.words.size(); ++id) {
    IndexWord& w = state.words[id];
    if ((w.carried || w.term) && !w.notListed) {
      offsets.clear();
      for (uint32_t number : w.numbers) {
        const uint32_t offset = state.recordOffset[number - 1];
        if (offset != 0) offsets.push_back(offset);
      }
      if (!offsets.empty()) {
        offsets.back() |= format::kLastValueBit;
        w.listOffset = static_cast<uint32_t>(state.file.position());
        for (uint32_t v : offsets) state.file.writeU32(v);
      }
    }
    std::vector<uint32_t>().swap(w.numbers);
  }
}

}  // namespace qel::build
