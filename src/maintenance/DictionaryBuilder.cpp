// The build driver: calibration, alphabet and frequency analysis, then the file from its header to
// the last length section, with the real tag written only once everything else is in the file.
#include "maintenance/DictionaryBuilder.h"

#include <algorithm>
#include <filesystem>
#include <memory>
#include <new>
#include <vector>

#include "dictionary/CommonnessRanks.h"
#include "maintenance/BuildState.h"
#include "maintenance/Calibration.h"
#include "maintenance/DefinitionOutput.h"
#include "maintenance/EntryOrder.h"
#include "maintenance/HeaderImage.h"
#include "maintenance/LetterScores.h"
#include "maintenance/SectionOutput.h"
#include "platform/FileReplacement.h"
#include "platform/TemporaryFiles.h"

namespace qel {
namespace {

using namespace build;

// Reference values keep a record or list offset in 31 bits, and 0x7FFFFFFF means "not listed".
constexpr uint64_t kReferenceLimit = format::kNotListed;
constexpr uint64_t kOffsetLimit = 0xFFFFFFFFull;

BuildParameters applyLimits(const BuildParameters& given) {
  BuildParameters p = given;
  p.shortest = std::clamp(p.shortest, 1, format::kMaxEntryLength);
  p.longest = std::max(std::min(p.longest, format::kMaxEntryLength), p.shortest);
  p.commonWordPercentage = std::max(p.commonWordPercentage, 0);
  return p;
}

std::string quoted(const std::string& path) { return "\"" + path + "\""; }

// Writes the file; false on failure, with the reason logged and the output path holding what it
// held before.
bool writeFile(BuildState& state, const std::vector<int8_t>& scores) {
  BuildSource& source = state.source;
  OutputFile& file = state.file;
  const std::string& path = state.parameters.outputPath;
  // What killed builds of this dictionary and its ranks left beside it.
  const std::filesystem::path target(path);
  const std::string folder = target.has_parent_path() ? target.parent_path().string() : ".";
  sweepStaleTemporaries(folder, target.filename().string());
  sweepStaleTemporaries(folder,
                        std::filesystem::path(CommonnessRanks::pathFor(path)).filename().string());
  if (const Status opened = file.open(path); !opened.ok()) {
    source.error("Couldn't open " + quoted(path) + " - " + opened.reason() + "\n");
    return false;
  }
  file.write(headerImage(state, scores));
  if (!writeDefinitions(state)) return false;
  writeReferenceLists(state);
  const bool referencesFit = file.position() < kReferenceLimit;
  orderIndexTerms(state);
  if (!writeSections(state)) return false;

  if (!referencesFit || file.position() > kOffsetLimit) {
    file.discard();
    source.error("Couldn't output " + quoted(path) +
                 " - the dictionary is too large for the file "
                 "format\n");
    return false;
  }
  // The tables first and the tag last: a file cut short on the way never carries a valid tag.
  file.overwrite(format::kOffsetSlotCount, headerTables(state.header));
  file.overwrite(0, std::string_view(format::kTagVersion1, 4));
  // The ranks are written before the dictionary is put in place: a full disk or a stop now
  // leaves the old dictionary with its own ranks.
  RanksReplacement ranks;
  if (const CommonnessRanks* given = state.parameters.ranks) {
    DictionaryFingerprint tie;
    if (!file.fingerprint(tie)) {
      source.error("Couldn't output " + quoted(path) + " - " + OutputFile::writeFailure().reason() +
                   "\n");
      return false;
    }
    if (const Status begun = ranks.begin(*given, path, tie); !begun.ok()) {
      source.error("Couldn't output " + quoted(CommonnessRanks::pathFor(path)) + " - " +
                   begun.reason() + "\n");
      return false;
    }
  }
  // The two renames are not parted by a signal.
  const temporary_files::SignalsHeld held;
  if (const Status committed = file.commit(state.parameters.backupPath); !committed.ok()) {
    source.error("Couldn't output " + quoted(path) + " - " + committed.reason() + "\n");
    return false;
  }
  if (state.parameters.ranks) {
    if (const Status put = ranks.commit(); !put.ok()) {
      source.error("The dictionary was written, but its ranks could not be put beside it - " +
                   put.reason() + "\n");
      return false;
    }
  }
  return true;
}

// The weights of the prefix code: the bytes of the entries, and one use of the written form of
// each letter that only the definitions hold, so that words spelt with it (Œuvre, Straße) can
// still be written as index terms and found by an indexed search.
ByteCounts codeWeights(const BuildState& state) {
  ByteCounts weights = state.frequency;
  for (uint32_t id = 0; id < state.words.size(); ++id) {
    for (char c : state.words.key(id)) {
      const int index = state.alphabet.letterIndex[static_cast<uint8_t>(c)];
      if (index >= state.alphabet.active) {
        uint64_t& weight = weights[state.alphabet.representative[index]];
        weight = std::max<uint64_t>(weight, 1);
      }
    }
  }
  return weights;
}

bool runBuild(BuildSource& source, const BuildParameters& parameters) {
  // The header has a fixed field for the description and its closing NUL.
  const std::string& description = parameters.description;
  if (std::min(description.find('\0'), description.size()) > format::kDescriptionSize - 1) {
    source.error("Description longer than " + std::to_string(format::kDescriptionSize - 1) +
                 " characters - cut to that length\n");
  }
  auto state = std::make_unique<BuildState>(source, applyLimits(parameters));
  state->canonical = canonicalLetters(parameters.fold);
  if (!calibrate(*state)) return false;

  arrangeEntries(*state);
  if (state->header.slots == 0) {
    source.error("No entries to process - check input file and length range\n");
    return false;
  }
  state->alphabet = analyseAlphabet(state->canonical, state->frequency);
  state->code = buildPrefixCode(codeWeights(*state));
  source.info(state->code.compressed ? "Alphabet analysis completed OK - compressing\n"
                                     : "Alphabet analysis completed OK - storing\n");
  linkEntriesToWords(*state);
  const std::vector<int8_t> scores = letterScores(*state);
  source.info("Frequency analysis completed OK\n");
  return writeFile(*state, scores);
}

}  // namespace

bool buildDictionary(BuildSource& source, const BuildParameters& parameters) {
  try {
    return runBuild(source, parameters);
  } catch (const std::bad_alloc&) {
    source.error("Insufficient memory to create the dictionary!\n");
    return false;
  }
}

}  // namespace qel
