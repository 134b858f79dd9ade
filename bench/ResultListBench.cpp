// Filling a results list with synthetic results: in discovery order, sorted (from random and from
// already ordered input), and with the duplicate test that suppresses entries of earlier panes.
// Sizes from 100 000 to 5 000 000 show whether the cost per result stays flat as the list grows.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string_view>

#include "search/ResultList.h"

namespace qel::bench {
namespace {

uint64_t mix(uint64_t x) {
  x += 0x9E3779B97F4A7C15ULL;
  x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ULL;
  x = (x ^ (x >> 27)) * 0x94D049BB133111EBULL;
  return x ^ (x >> 31);
}

// Result number i of a run with `seed`: 3 to 14 random lower-case letters, so that short words
// repeat and long ones rarely do.
std::string_view randomWord(long i, uint64_t seed, char (&buffer)[16]) {
  uint64_t h = mix(static_cast<uint64_t>(i) ^ (seed << 40));
  const int size = 3 + static_cast<int>(h % 12);
  h /= 12;
  for (int k = 0; k < size; ++k) {
    if (k == 11) h = mix(h);
    buffer[k] = static_cast<char>('a' + h % 26);
    h /= 26;
  }
  return std::string_view(buffer, static_cast<size_t>(size));
}

// Result number i in alphabetical order: the base-26 digits of i, as a scan of one length of a
// dictionary delivers them.
std::string_view orderedWord(long i, char (&buffer)[16]) {
  for (int k = 5; k >= 0; --k) {
    buffer[k] = static_cast<char>('a' + i % 26);
    i /= 26;
  }
  return std::string_view(buffer, 6);
}

void setCounters(benchmark::State& state, long results) {
  state.counters["results"] = static_cast<double>(results);
  state.counters["time/result"] = benchmark::Counter(
      static_cast<double>(state.range(0)) * static_cast<double>(state.iterations()),
      benchmark::Counter::kIsRate | benchmark::Counter::kInvert, benchmark::Counter::kIs1000);
}

void fill(benchmark::State& state, ResultOrder order, bool ordered) {
  const long n = state.range(0);
  char buffer[16];
  long results = 0;
  for (auto _ : state) {
    ResultList list;
    list.setOrder(order, false);
    for (long i = 0; i < n; ++i) {
      list.add(ordered ? orderedWord(i, buffer) : randomWord(i, 1, buffer), "", "", 0);
    }
    results = list.count();
    benchmark::DoNotOptimize(list.record(results / 2));
  }
  setCounters(state, results);
}

void BM_AddDiscovery(benchmark::State& state) { fill(state, ResultOrder::Discovery, false); }
void BM_AddSortedRandom(benchmark::State& state) {
  fill(state, ResultOrder::ShortFirstAscending, false);
}
void BM_AddSortedDescendingRandom(benchmark::State& state) {
  fill(state, ResultOrder::LongFirstDescending, false);
}
void BM_AddSortedInOrder(benchmark::State& state) { fill(state, ResultOrder::Ascending, true); }

// Two panes over the same kind of dictionary: the first keeps what it finds (with the index of
// letters when unsorted), the second adds only what the first does not hold.
void suppress(benchmark::State& state, ResultOrder order) {
  const long n = state.range(0);
  char buffer[16];
  long results = 0;
  for (auto _ : state) {
    ResultList first, second;
    first.setOrder(order, order == ResultOrder::Discovery);
    second.setOrder(order, false);
    for (long i = 0; i < n; ++i) first.add(randomWord(i, 1, buffer), "", "", 0);
    for (long i = 0; i < n; ++i) {
      const std::string_view word = randomWord(i, 2, buffer);
      if (!first.contains(word)) second.add(word, "", "", 0);
    }
    results = first.count() + second.count();
  }
  setCounters(state, results);
}

void BM_SuppressDuplicatesUnsorted(benchmark::State& state) {
  suppress(state, ResultOrder::Discovery);
}
void BM_SuppressDuplicatesSorted(benchmark::State& state) {
  suppress(state, ResultOrder::ShortFirstAscending);
}

#define QEL_RESULTS_BENCH(name) \
  BENCHMARK(name)->Arg(100000)->Arg(1000000)->Arg(5000000)->Unit(benchmark::kMillisecond)

QEL_RESULTS_BENCH(BM_AddDiscovery);
QEL_RESULTS_BENCH(BM_AddSortedRandom);
QEL_RESULTS_BENCH(BM_AddSortedDescendingRandom);
QEL_RESULTS_BENCH(BM_AddSortedInOrder);
QEL_RESULTS_BENCH(BM_SuppressDuplicatesUnsorted);
QEL_RESULTS_BENCH(BM_SuppressDuplicatesSorted);

}  // namespace
}  // namespace qel::bench
