// Definitions retrieval on the default dictionary: a word's definitions, an indexed full-text
// search for one word, and the sequential search's reading speed.
#include <benchmark/benchmark.h>

#include "BenchDictionaries.h"
#include "dictionary/DefinitionsOfWord.h"
#include "dictionary/Dictionary.h"
#include "dictionary/QCDictionaryList.h"
#include "pattern/MatchEngineSet.h"
#include "search/QCDictionaryDefinitionSearchIndexed.h"
#include "search/QCDictionaryDefinitionSearchSequential.h"

namespace qel::bench {
namespace {

bool haveDictionary(benchmark::State& state) {
  if (!defaultDictionary().empty()) return true;
  state.SkipWithError("default dictionary not built");
  return false;
}

void BM_DefineWord(benchmark::State& state, const char* word) {
  if (!haveDictionary(state)) return;
  QCDictionaryList list(defaultDictionary());
  size_t found = 0;
  for (auto _ : state) {
    std::vector<Definition> definitions;
    definitionsOfWord(list, word, definitions);
    found = definitions.size();
  }
  state.counters["definitions"] = static_cast<double>(found);
}
BENCHMARK_CAPTURE(BM_DefineWord, river, "river")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_DefineWord, set, "set")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_DefineWord, give_up, "give up")->Unit(benchmark::kMicrosecond);

bool compile(benchmark::State& state, const QCDictionaryList& list, const char* pattern,
             MatchEngineSet& patterns) {
  if (patterns.parse(list.alphabet(0), pattern, 1, 31) == pattern::PatternError::kValid)
    return true;
  state.SkipWithError("pattern does not compile");
  return false;
}

// The whole search, records read included, as the search driver runs it.
void BM_IndexedSearch(benchmark::State& state, const char* pattern) {
  if (!haveDictionary(state)) return;
  QCDictionaryList list(defaultDictionary());
  MatchEngineSet patterns;
  if (!compile(state, list, pattern, patterns)) return;
  size_t found = 0;
  for (auto _ : state) {
    QCDictionaryDefinitionSearchIndexed search(list, 0, patterns);
    if (!search.usable()) {
      state.SkipWithError("the index cannot answer");
      return;
    }
    Definition d;
    found = 0;
    while (search.next(d)) ++found;
  }
  state.counters["records"] = static_cast<double>(found);
}
BENCHMARK_CAPTURE(BM_IndexedSearch, river, "river")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_IndexedSearch, zebra, "zebra")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_IndexedSearch, river_and_bank, "river & bank")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_IndexedSearch, template, "r.v.r")->Unit(benchmark::kMillisecond);

// Reading speed over the second definition region, in bytes of the region per second.
void BM_SequentialSearch(benchmark::State& state, const char* pattern) {
  if (!haveDictionary(state)) return;
  QCDictionaryList list(defaultDictionary());
  MatchEngineSet patterns;
  if (!compile(state, list, pattern, patterns)) return;
  uint64_t bytes = 0;
  size_t hits = 0;
  for (auto _ : state) {
    QCDictionaryDefinitionSearchSequential search(list, 0, patterns);
    hits = 0;
    for (;;) {
      const auto step = search.next(200);
      if (step == QCDictionaryDefinitionSearchSequential::Step::Finished) break;
      hits += step == QCDictionaryDefinitionSearchSequential::Step::Hit;
    }
    bytes += search.total();
  }
  state.SetBytesProcessed(static_cast<int64_t>(bytes));
  state.counters["hits"] = static_cast<double>(hits);
}
BENCHMARK_CAPTURE(BM_SequentialSearch, river, "river")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SequentialSearch, not_the, "!the")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SequentialSearch, ends_in_ing, "*ing & r*")->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace qel::bench
