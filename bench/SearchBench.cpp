// Word searches in process over the default dictionary: time per search for a fixed set of
// patterns, and the speed of a scan of every entry.
#include <benchmark/benchmark.h>

#include <memory>

#include "BenchDictionaries.h"
#include "dictionary/DecodedSection.h"
#include "search/SearchSession.h"

namespace qel::bench {
namespace {

// One session for all the searches of a benchmark, as the main window keeps its panes.
long runSearch(SearchSession& session, const std::string& pattern) {
  SearchSettings settings;
  if (session.validate(pattern, settings).state != SearchState::Ready) return -1;
  session.start();
  while (session.step()) {
  }
  return session.pane(0).results.count();
}

void searchPattern(benchmark::State& state, const std::string& pattern) {
  const std::string path = defaultDictionary();
  if (path.empty()) {
    state.SkipWithError("default dictionary not built");
    return;
  }
  QCDictionaryList list(path);
  SearchSession session(list);
  long results = 0;
  for (auto _ : state) results = runSearch(session, pattern);
  state.counters["results"] = static_cast<double>(results);
  if (pattern == "*") {
    state.counters["entries/s"] = benchmark::Counter(
        static_cast<double>(list.statistics(0).totalEntries) * state.iterations(),
        benchmark::Counter::kIsRate);
  }
}

// The window keeps sections it decoded: the first search of a pattern decodes them (and keeps
// them), a repeat search replays them from memory. The dictionary is opened afresh for each first
// search, so that it has kept nothing.
void firstAndRepeatSearch(benchmark::State& state, const std::string& pattern, bool repeat) {
  const std::string path = defaultDictionary();
  if (path.empty()) {
    state.SkipWithError("default dictionary not built");
    return;
  }
  setDecodedSectionBudget(kWindowDecodedSectionBudget);
  long results = 0;
  if (repeat) {
    QCDictionaryList list(path);
    SearchSession session(list);
    runSearch(session, pattern);
    for (auto _ : state) results = runSearch(session, pattern);
  } else {
    for (auto _ : state) {
      auto list = std::make_unique<QCDictionaryList>(path);
      auto session = std::make_unique<SearchSession>(*list);
      results = runSearch(*session, pattern);
      state.PauseTiming();  // closing the dictionary is not part of the search
      session.reset();
      list.reset();
      state.ResumeTiming();
    }
  }
  state.counters["results"] = static_cast<double>(results);
  setDecodedSectionBudget(0);
}

BENCHMARK_CAPTURE(searchPattern, template_8_letters, std::string(".l...r.n"))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(searchPattern, anagram_with_blanks_7, std::string(";..oting"))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(searchPattern, template_7_letters, std::string("o.e.i.k"))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(searchPattern, anagram_7_letters, std::string(";lobikes"))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(searchPattern, choice_lists_7, std::string("[bc]a[rt]...[aeiou]"))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(searchPattern, anagram_choice, std::string(";diners[ai]"))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(searchPattern, wildcard, std::string("m*ja"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(searchPattern, suffix, std::string("*ing"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(searchPattern, variables, std::string("12341234"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(searchPattern, macros, std::string("@#@#@#@#@#@"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(searchPattern, operators, std::string(";..oting & ! *ing"))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(searchPattern, every_entry, std::string("*"))->Unit(benchmark::kMillisecond);
// Anagrams that make a backtracking matcher explode: growing sub-patterns, many variables.
BENCHMARK_CAPTURE(searchPattern, anagram_growing_subpatterns, std::string(";(a*)(e*)(i*)(o*)"))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(searchPattern, anagram_nine_variables, std::string(";123456789"))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(searchPattern, anagram_ten_variables, std::string(";1234567890"))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(searchPattern, anagram_variables_and_run, std::string(";1234567890(*)"))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(searchPattern, anagram_ten_runs, std::string(";(*)(*)(*)(*)(*)(*)(*)(*)(*)(*)e"))
    ->Unit(benchmark::kMillisecond);

BENCHMARK_CAPTURE(firstAndRepeatSearch, first_wildcard, std::string("m*ja"), false)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(firstAndRepeatSearch, repeat_wildcard, std::string("m*ja"), true)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(firstAndRepeatSearch, first_every_entry, std::string("*"), false)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(firstAndRepeatSearch, repeat_every_entry, std::string("*"), true)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace qel::bench
