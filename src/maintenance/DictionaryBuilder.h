// Writes a version 1 dictionary file from source lines supplied by a caller, reporting progress and
// failures through the same interface.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "pattern/PatternLimits.h"

namespace qel {

// The caller's side of a build: the source lines and the build log.
class BuildSource {
 public:
  enum class Line { Abandoned = 0, End = 1, Text = 2 };

  virtual ~BuildSource() = default;
  // Starts the lines again from the beginning: before calibration, and before each definition
  // output pass that has records to write.
  virtual void rewind() = 0;
  // Next line of the source in code page 1252 (a trailing line feed or CR LF may be present), or
  // End, or Abandoned when the user gave up. `count` is the number of lines asked for so far.
  virtual Line nextLine(std::string& line, long count) = 0;
  // Asked between entries of the output step: false abandons the build.
  virtual bool keepGoing() = 0;
  virtual void info(const std::string& text) = 0;
  virtual void error(const std::string& text) = 0;
};

class CommonnessRanks;

struct BuildParameters {
  std::array<uint8_t, 256> fold{};  // what each character folds to, 0 for a non-letter
  std::string outputPath;
  // Where the output path's previous contents are kept when it is replaced; empty: nowhere.
  std::string backupPath;
  std::string description;              // up to 999 bytes are kept
  int shortest = 1;                     // letters of an entry, within 1 .. kLongestWord ...
  int longest = pattern::kLongestWord;  // ... and raised to shortest if below it
  // A word of the indexed definitions found in more than this percentage of the definitions
  // loses its occurrence list (once the list is over 100 long); 0: never.
  int commonWordPercentage = 0;
  int flag = 0;  // reserved; no value changes the build
  // Put beside the dictionary with it, tied to its new contents; an empty set removes the ranks
  // there. Null: whatever ranks file is there is left alone.
  const CommonnessRanks* ranks = nullptr;
};

// Source lines: "entry[+annotation[+heading]]" fields separated by ":" or ";", then optionally
// "|" and the definition body (see SourceLine.h). Entries whose letter count lies outside
// [shortest, longest], or whose text would not fit a reader's entry buffer (reported), are left
// out. True on success; on failure the log holds the reason and the output path keeps what it
// held: the file is written beside it and renamed over it only when complete.
bool buildDictionary(BuildSource& source, const BuildParameters& parameters);

}  // namespace qel
