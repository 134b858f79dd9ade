// The matcher alone: the entries of one length of the default dictionary, decoded once, offered to
// a parsed pattern set the way a search's enumerator offers them.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "BenchDictionaries.h"
#include "dictionary/EntryEnumerator.h"
#include "dictionary/QCDictionaryList.h"
#include "pattern/MatchEngineSet.h"

namespace qel::bench {
namespace {

struct Entry {
  std::vector<uint8_t> letters;  // ending with 0xFF
  std::string text;
};

// The entries a word search visits in the section of this length.
std::vector<Entry> entriesOfLength(const QCDictionaryList& list, int length) {
  std::vector<Entry> entries;
  EntryEnumerator enumerator(list, 0);
  if (!enumerator.selectLength(length)) return entries;
  for (const uint8_t* letters = enumerator.next(nullptr); letters[0] != kEndOfLetters;
       letters = enumerator.next(nullptr)) {
    entries.push_back(
        {std::vector<uint8_t>(letters, letters + length + 1), std::string(enumerator.word())});
  }
  return entries;
}

void matchEntries(benchmark::State& state, const std::string& pattern, int length, bool exclusive) {
  const std::string path = defaultDictionary();
  if (path.empty()) {
    state.SkipWithError("default dictionary not built");
    return;
  }
  QCDictionaryList list(path);
  const std::vector<Entry> entries = entriesOfLength(list, length);
  MatchEngineSet set;
  if (set.parse(list.alphabet(0), pattern, 1, 31, exclusive) != pattern::PatternError::kValid) {
    state.SkipWithError("pattern does not parse");
    return;
  }
  long matches = 0;
  for (auto _ : state) {
    matches = 0;
    for (const Entry& e : entries) matches += set.accepts(e.letters.data(), length, e.text.c_str());
    benchmark::DoNotOptimize(matches);
  }
  state.counters["matches"] = static_cast<double>(matches);
  state.counters["entries/s"] = benchmark::Counter(
      static_cast<double>(entries.size()) * state.iterations(), benchmark::Counter::kIsRate);
}

BENCHMARK_CAPTURE(matchEntries, variables_12341234, std::string("12341234"), 8, true)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(matchEntries, variables_12341234_shared, std::string("12341234"), 8, false)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(matchEntries, variables_and_letters, std::string("1.e1..2s"), 8, true)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(matchEntries, template_8_letters, std::string(".l...r.n"), 8, true)
    ->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace qel::bench
