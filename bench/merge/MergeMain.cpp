// The word-list merge without its window, for timing and peak memory (bench/merge-memory.sh):
// merges the inputs (text lists in UTF-8, or dictionaries) with the first spelling kept and writes
// a source text (OUT.txt) or a dictionary (any other name).
#include <chrono>
#include <cstdio>
#include <string>

#include "maintenance/FoldTable.h"
#include "maintenance/LineListSource.h"
#include "maintenance/MergeInputs.h"

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s INPUT... OUT\n", argv[0]);
    return 2;
  }
  using Clock = std::chrono::steady_clock;
  const auto start = Clock::now();
  auto seconds = [&] { return std::chrono::duration<double>(Clock::now() - start).count(); };
  qel::WordListMerge merge(qel::WordListMerge::Duplicates::kKeepFirst);
  std::string error;
  // The longest wait between two progress calls: how long a window would go without a turn.
  double lastTurn = 0, longestGap = 0;
  const qel::MergeProgress progress = [&](double) {
    const double now = seconds();
    longestGap = std::max(longestGap, now - lastTurn);
    lastTurn = now;
    return true;
  };
  for (int i = 1; i + 1 < argc; ++i) {
    const qel::Status read = qel::looksLikeDictionary(argv[i])
                                 ? qel::mergeDictionary(merge, argv[i], progress)
                                 : qel::mergeTextFile(merge, argv[i], true, progress);
    if (!read.ok()) {
      std::fprintf(stderr, "%s\n", read.reason().c_str());
      return 2;
    }
  }
  const double read = seconds();
  const std::vector<std::string> lines = merge.sourceLines();
  const double sorted = seconds();
  const std::string out = argv[argc - 1];
  bool written;
  if (out.size() > 4 && out.substr(out.size() - 4) == ".txt") {
    const qel::Status status = qel::writeMergedText(lines, out);
    written = status.ok();
    error = status.reason();
  } else {
    qel::LineListSource source(lines);
    qel::BuildParameters p;
    p.fold = qel::lowerCaseFoldTable();
    p.outputPath = out;
    written = qel::buildDictionary(source, p);
    error = source.errors;
  }
  if (!written) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 2;
  }
  for (const auto& c : merge.counts()) {
    std::printf("%s: %ld entries, %ld added, %ld duplicates, %ld skipped\n", c.name.c_str(),
                c.entries, c.added, c.duplicates, c.skipped);
  }
  std::printf(
      "merged %zu entries: read %.2f s, sorted %.2f s, written %.2f s; longest gap "
      "between progress calls %.3f s\n",
      merge.size(), read, sorted - read, seconds() - sorted, longestGap);
  return 0;
}
