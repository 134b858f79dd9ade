// The calibration pass: one read of the source that collects the entries kept by the length range,
// numbers the definitions, chooses each definition's output pass and indexes the words of the
// bodies that go into the full-text index.
#pragma once

#include <string>
#include <string_view>

#include "maintenance/BuildState.h"
#include "maintenance/SourceLine.h"

namespace qel::build {

// Whether a field of a source line is an entry of the dictionary: its letters lie in the length
// range and its text fits an entry.
bool isKept(const SourceField& field, const BuildParameters& parameters);

// One read of the source, line by line: reads and parses the next line (`count` is the number of
// lines asked for). False at the end of the source and when the user gave up, which is logged
// and sets `abandoned`.
class SourcePass {
 public:
  explicit SourcePass(BuildState& state);
  bool next(SourceLine& line);
  bool abandoned() const { return m_abandoned; }
  long count() const { return m_count; }

 private:
  BuildState& m_state;
  std::string m_raw;
  long m_count = 0;
  bool m_abandoned = false;
};

// False when the source abandoned the build (already logged).
bool calibrate(BuildState& state);

// Adds the words of an indexed body to the index under definition `number`. A word is a run of
// letters; as in the sequential full-text search, a run longer than 32 letters goes on as a new
// word after each 32, and only words of at most kLongestWord letters are kept (no entry is longer).
void indexBody(BuildState& state, std::string_view body, uint32_t number, std::string& scratch);

}  // namespace qel::build
