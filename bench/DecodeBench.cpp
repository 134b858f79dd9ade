// Decoding speed of whole dictionaries, and the build time of the big word list.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "BenchDictionaries.h"
#include "dictionary/EntryEnumerator.h"
#include "dictionary/QCDictionaryList.h"
#include "maintenance/DictionaryBuilder.h"

namespace qel::bench {

bool buildWordList(const std::string& path);

namespace {

void decodeAll(benchmark::State& state, const std::string& path) {
  if (path.empty()) {
    state.SkipWithError("dictionary not built");
    return;
  }
  QCDictionaryList list(path);
  EntryEnumerator enumerator(list, 0);
  long entries = 0;
  long streamBytes = 0;
  const auto& sections = list.dictionary(0).sectionOffset();
  for (int length = 1; length + 1 < list.slotCount(0); ++length) {
    streamBytes += sections[length + 1] - sections[length];
  }
  for (auto _ : state) {
    for (int length = 1; length < list.slotCount(0); ++length) {
      if (!enumerator.selectLength(length)) continue;
      while (enumerator.next(nullptr)[0] != kEndOfLetters) ++entries;
    }
  }
  state.counters["entries/s"] =
      benchmark::Counter(static_cast<double>(entries), benchmark::Counter::kIsRate);
  state.SetBytesProcessed(streamBytes * state.iterations());
}

void BM_DecodeWordList(benchmark::State& state) { decodeAll(state, wordListDictionary()); }
BENCHMARK(BM_DecodeWordList)->Unit(benchmark::kMillisecond);

void BM_DecodeDefaultDictionary(benchmark::State& state) { decodeAll(state, defaultDictionary()); }
BENCHMARK(BM_DecodeDefaultDictionary)->Unit(benchmark::kMillisecond);

void BM_BuildWordList(benchmark::State& state) {
  const std::string path = wordListDictionary() + ".again";
  for (auto _ : state) buildWordList(path);
  std::filesystem::remove(path);
  state.counters["lines"] = static_cast<double>(wordListSource().size());
}
BENCHMARK(BM_BuildWordList)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace qel::bench
