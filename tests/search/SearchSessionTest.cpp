// The search session: validation messages, the three ways of searching several dictionaries,
// output filters, visiting order, and steps that can pause and resume anywhere.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <sstream>

#include "app/Messages.h"
#include "cli/Cli.h"
#include "dictionary/DecodedSection.h"
#include "search/EntryClass.h"
#include "search/SearchSession.h"
#include "support/FailingAllocation.h"
#include "support/TestDictionaries.h"

namespace qel {
namespace {

std::vector<std::string> texts(const ResultList& list) {
  std::vector<std::string> out;
  for (long i = 0; i < list.count(); ++i) out.emplace_back(list.record(i)->text());
  return out;
}

class SearchSessionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    first = dir.file("first.qcd");
    second = dir.file("second.qcd");
    ASSERT_TRUE(test::buildTestDictionary(
        first, {"tail", "Charlie", "tail-end", "tail-end Charlie", "tonight+adverb+", "toting",
                "noting", "nights", "ox", "ant", "bee", "abcdefghi"}));
    ASSERT_TRUE(test::buildTestDictionary(second, {"TAIL", "tall", "tails", "toll", "ant"}));
  }

  // Runs a whole search and returns the session's panes' texts.
  std::vector<std::vector<std::string>> search(const std::string& listText,
                                               const std::string& pattern,
                                               SearchSettings settings = {}) {
    QCDictionaryList list(listText);
    SearchSession session(list);
    const auto v = session.validate(pattern, settings);
    EXPECT_EQ(v.state, SearchState::Ready) << v.statusText;
    EXPECT_TRUE(session.start());
    while (session.step()) {
    }
    EXPECT_EQ(session.state(), SearchState::Ready);
    std::vector<std::vector<std::string>> panes;
    for (int i = 0; i < session.paneCount(); ++i) panes.push_back(texts(session.pane(i).results));
    return panes;
  }

  std::string status(const std::string& listText, const std::string& pattern,
                     SearchSettings settings = {}) {
    QCDictionaryList list(listText);
    SearchSession session(list);
    const auto v = session.validate(pattern, settings);
    EXPECT_EQ(v.state == SearchState::Ready,
              v.messageNumber == messageNumber(pattern::PatternError::kValid));
    return v.statusText;
  }

  test::TempDir dir;
  std::string first, second;
};

TEST_F(SearchSessionTest, ValidationExplainsWhyNothingCanBeSearched) {
  SearchSettings upTo8;
  upTo8.longest = 8;
  EXPECT_EQ(status(first, ""), "Press F1 for help");
  EXPECT_EQ(status(first, "tai;;l"), "first: Only one ; is allowed in a pattern");
  EXPECT_EQ(status(first, "........."),
            "Pattern is valid - press the return key to start searching");
  EXPECT_EQ(status(first, ".........", upTo8),
            "Shortest/Longest settings stop the pattern being matched");
  EXPECT_EQ(status(first, "... & ...."), "Patterns match incompatible lengths");
  EXPECT_EQ(status(first, "............"),
            "No words of the required length(s) in the dictionaries");
  EXPECT_EQ(status("", "abc"), "Use Open... on the File menu to select a dictionary");

  // A dictionary gone since it was opened has no status text, which the window says in a box of
  // its own: the validation names it for every front end to report, with the reason.
  QCDictionaryList list(first + ";" + second);
  ASSERT_TRUE(list.recheck(1));
  std::filesystem::remove(second);
  SearchSession session(list);
  const SearchSession::Validation gone = session.validate("t*", SearchSettings{});
  EXPECT_EQ(gone.state, SearchState::NoPattern);
  EXPECT_EQ(gone.invalidDictionary, 1);
  std::ostringstream err;
  cli::reportChanged(list.path(1), "search", err, &list);
  EXPECT_EQ(err.str(), "qel-cli search: Dictionary Invalidated: " + second +
                           " is no longer a valid QEL&Corvanth Dictionary File: The file does not "
                           "exist.\n");
}

TEST_F(SearchSessionTest, DuplicatesAcrossDictionariesFollowTheMode) {
  SearchSettings s;
  const std::string both = first + ";" + second;
  auto panes = search(both, "t..l", s);
  EXPECT_EQ(panes[0], (std::vector<std::string>{"tail"}));
  EXPECT_EQ(panes[1], (std::vector<std::string>{"tall", "toll"}));  // TAIL is tail again
  s.multiple = MultipleDictionaries::Independent;
  panes = search(both, "t..l", s);
  EXPECT_EQ(panes[1], (std::vector<std::string>{"TAIL", "tall", "toll"}));
  s.multiple = MultipleDictionaries::ActiveOnly;
  s.activePane = 1;
  panes = search(both, "t...", s);
  EXPECT_TRUE(panes[0].empty());
  EXPECT_EQ(panes[1].size(), 3u);
}

TEST_F(SearchSessionTest, OutputFiltersDropEachClassOfEntry) {
  const struct {
    bool SearchSettings::*flag;
    std::vector<std::string> expected;
  } cases[] = {
      {&SearchSettings::outputLower, {"Charlie", "tail-end", "tail-end Charlie"}},
      {&SearchSettings::outputUpper, {"tail", "tail-end", "tail-end Charlie"}},
      {&SearchSettings::outputPunctuation, {"tail", "Charlie", "tail-end Charlie"}},
      {&SearchSettings::outputWhitespace, {"tail", "Charlie", "tail-end"}},
  };
  for (const auto& c : cases) {
    SearchSettings s;
    s.*(c.flag) = false;
    s.sorting = true;
    s.lengthGrouping = false;
    auto panes = search(first, "tail | charlie | tailend | tailendcharlie", s);
    std::vector<std::string> got = panes[0];
    std::vector<std::string> want = c.expected;
    std::sort(got.begin(), got.end());
    std::sort(want.begin(), want.end());
    EXPECT_EQ(got, want);
  }
  Alphabet letters;
  letters.letterIndex.fill(kNotALetter);
  for (int c = 'a'; c <= 'z'; ++c) letters.letterIndex[c] = letters.letterIndex[c - 32] = 1;
  EXPECT_EQ(classifyEntry("-tail-", 4, letters), EntryClass::Lower);
  EXPECT_EQ(classifyEntry("O'Neil", 5, letters), EntryClass::Punctuation);
  EXPECT_EQ(classifyEntry("New York", 7, letters), EntryClass::Phrase);
}

TEST_F(SearchSessionTest, BalancesAnnotationsAndLengthGroups) {
  SearchSettings s;
  EXPECT_EQ(search(first, ";..oting", s)[0], (std::vector<std::string>{"tonight adverb +ht"}));
  EXPECT_EQ(search(first, ";..oting & ! *ing", s)[0], (std::vector<std::string>{"tonight adverb"}));
  EXPECT_EQ(search(first, "t*", s)[0],
            (std::vector<std::string>{"tail", "toting", "tail-end", "tonight adverb",
                                      "tail-end Charlie"}));
  s.showAnnotations = false;
  s.showBalances = false;
  s.lengthGroupingAscending = false;
  EXPECT_EQ(search(first, ";..oting", s)[0], (std::vector<std::string>{"tonight"}));
  EXPECT_EQ(search(first, "t*", s)[0], (std::vector<std::string>{"tail-end Charlie", "tail-end",
                                                                 "tonight", "toting", "tail"}));
}

// Full Text Search lists the records whose words match, with their second heading (cut to 49
// characters) and record offset; a dictionary without definitions is passed over. Index and full
// read agree.
TEST_F(SearchSessionTest, FullTextSearchListsMatchingRecordsFromEveryDictionaryWithDefinitions) {
  const std::string defined = dir.file("defined.qcd");
  const std::string longHeading =
      "(noun 2) a charge levied on the use of a road, a bridge or a crossing";
  ASSERT_TRUE(test::buildTestDictionary(
      defined, {"electron++(noun 1)+;|an elementary particle with negative charge",
                "proton++(noun 1)+;|a particle with positive charge",
                "charge++(verb 1)+;|to ask a price", "river|a large natural stream",
                "toll++" + longHeading + "+;|the particle charge at the gate"}));
  for (bool withoutIndex : {false, true}) {
    SearchSettings s;
    s.fullText = true;
    s.fullTextWithoutIndex = withoutIndex;
    QCDictionaryList list(second + ";" + defined);
    SearchSession session(list);
    ASSERT_EQ(session.validate("particle & charge", s).state, SearchState::Ready);
    ASSERT_TRUE(session.start());
    while (session.step()) {
    }
    EXPECT_EQ(session.pane(0).results.count(), 0);
    const ResultList& results = session.pane(1).results;
    EXPECT_EQ(texts(results), (std::vector<std::string>{"electron (noun 1)", "proton (noun 1)",
                                                        "toll " + longHeading.substr(0, 49)}))
        << "without index: " << withoutIndex;
    ASSERT_EQ(results.count(), 3);
    EXPECT_GT(results.record(0)->definitionNumber, 0);
    EXPECT_LT(results.record(0)->definitionNumber, results.record(1)->definitionNumber);
    EXPECT_EQ(results.record(0)->entry(), "electron");
    EXPECT_EQ(session.pane(1).dictionaryStamp, list.dictionary(1).fileTime());
  }
}

// A word spelt with a letter that no entry has is still in the index.
TEST_F(SearchSessionTest, IndexCoversLettersThatOnlyDefinitionsUse) {
  const std::string defined = dir.file("letters.qcd");
  ASSERT_TRUE(test::buildTestDictionary(defined, {"street|a road; Stra\xDF"
                                                  "e in German",
                                                  "road|a way", "avenue|a wide street"}));
  SearchSettings s;
  s.fullText = true;
  QCDictionaryList list(defined);
  SearchSession session(list);
  ASSERT_EQ(session
                .validate("strasse | stra\xDF"
                          "e",
                          s)
                .state,
            SearchState::Ready);
  ASSERT_TRUE(session.start());
  while (session.step()) {
  }
  EXPECT_EQ(texts(session.pane(0).results), (std::vector<std::string>{"street"}));
}

// Pausing after any step and resuming gives the same results as a search run straight through;
// each step accepts at most one entry.
TEST_F(SearchSessionTest, PauseAndResumeContinueFromTheSameCursor) {
  const auto words = test::systemWordList();
  if (words.size() < 100000) GTEST_SKIP() << "british-english-huge is not installed";
  const std::string big = dir.file("big.qcd");
  std::vector<std::string> lines;
  for (size_t i = 0; i < words.size(); i += 7) {
    if (words[i].find_first_of(":;|+\\") == std::string::npos) lines.push_back(words[i]);
  }
  ASSERT_TRUE(test::buildTestDictionary(big, lines));
  const std::string listText = big + ";" + first;
  const auto straight = search(listText, "*ing");

  QCDictionaryList list(listText);
  SearchSession session(list);
  ASSERT_EQ(session.validate("*ing", {}).state, SearchState::Ready);
  ASSERT_TRUE(session.start());
  long steps = 0, previous = 0;
  while (true) {
    if (++steps % 5 == 0) {
      session.pause();
      EXPECT_FALSE(session.step());
      EXPECT_EQ(session.state(), SearchState::Paused);
      ASSERT_TRUE(session.start());
    }
    const auto progress = session.progress();
    if (progress.pane >= 0) {
      EXPECT_LE(progress.examined, progress.total);
    }
    if (!session.step()) break;
    long total = session.pane(0).results.count() + session.pane(1).results.count();
    EXPECT_LE(total - previous, 1);
    previous = total;
  }
  EXPECT_GT(steps, static_cast<long>(straight[0].size()));
  EXPECT_EQ(texts(session.pane(0).results), straight[0]);
  EXPECT_EQ(texts(session.pane(1).results), straight[1]);
}

// A search past its work budget pauses and says so, on each pane; each resume goes on from the
// next entry with the budget anew, and the results come out whole.
TEST_F(SearchSessionTest, TooMuchWorkPausesAndResumingLosesNothing) {
  SearchSettings s;
  s.multiple = MultipleDictionaries::Independent;
  const std::string listText = first + ";" + second;
  const std::string pattern = "*1*2*1*2* | *ll | !*(;at)*";
  const auto straight = search(listText, pattern, s);
  ASSERT_FALSE(straight[0].empty());
  QCDictionaryList list(listText);
  SearchSession session(list);
  session.setWorkBudget(40);
  ASSERT_EQ(session.validate(pattern, s).state, SearchState::Ready);
  int pauses = 0;
  ASSERT_TRUE(session.start());
  while (session.state() != SearchState::Ready) {
    if (session.step()) continue;
    if (session.state() != SearchState::Paused) break;
    EXPECT_EQ(session.failure(), SearchSession::Failure::kTooMuchWork);
    ++pauses;
    ASSERT_TRUE(session.start());
  }
  EXPECT_GT(pauses, 3);
  EXPECT_EQ(session.failure(), SearchSession::Failure::kNone);
  EXPECT_EQ(texts(session.pane(0).results), straight[0]);
  EXPECT_EQ(texts(session.pane(1).results), straight[1]);
}

// Running out of memory anywhere in a step pauses the search; resumed, it loses nothing.
TEST_F(SearchSessionTest, OutOfMemoryPausesAndResumingLosesNothing) {
  const auto words = test::systemWordList();
  if (words.size() < 100000) GTEST_SKIP() << "british-english-huge is not installed";
  const std::string big = dir.file("memory.qcd");
  std::vector<std::string> lines;
  for (size_t i = 0; i < words.size(); i += 11) {
    if (words[i].find_first_of(":;|+\\") == std::string::npos) lines.push_back(words[i]);
  }
  ASSERT_TRUE(test::buildTestDictionary(big, lines));
  SearchSettings sorted;
  sorted.sorting = true;
  const std::string listText = big + ";" + first;
  const auto straight = search(listText, "*s", sorted);
  int paused = 0;
  for (long allowed = 0; allowed < 40; ++allowed) {
    QCDictionaryList list(listText);
    SearchSession session(list);
    ASSERT_EQ(session.validate("*s", sorted).state, SearchState::Ready);
    ASSERT_TRUE(session.start());
    for (int k = 0; k < 100; ++k) session.step();
    {
      const test::FailingAllocations failing(allowed);
      while (session.step()) {
      }
    }
    if (session.failure() == SearchSession::Failure::kOutOfMemory) {
      ++paused;
      EXPECT_EQ(session.state(), SearchState::Paused);
      ASSERT_TRUE(session.start());
    }
    while (session.step()) {
    }
    EXPECT_EQ(session.failure(), SearchSession::Failure::kNone);
    EXPECT_EQ(texts(session.pane(0).results), straight[0]) << allowed;
    EXPECT_EQ(texts(session.pane(1).results), straight[1]) << allowed;
  }
  EXPECT_GT(paused, 10);
}

// A dictionary cut short while it is searched stops the search; its partial results go.
TEST_F(SearchSessionTest, DictionaryCutShortStopsTheSearch) {
  const auto words = test::systemWordList();
  if (words.size() < 100000) GTEST_SKIP() << "british-english-huge is not installed";
  const std::string big = dir.file("cut.qcd");
  std::vector<std::string> lines;
  for (size_t i = 0; i < words.size(); i += 3) {
    if (words[i].find_first_of(":;|+\\") == std::string::npos) lines.push_back(words[i]);
  }
  ASSERT_TRUE(test::buildTestDictionary(big, lines));
  QCDictionaryList list(first + ";" + big);
  SearchSession session(list);
  ASSERT_EQ(session.validate("*", {}).state, SearchState::Ready);
  ASSERT_TRUE(session.start());
  while (session.pane(1).results.count() < 10 && session.step()) {
  }
  ASSERT_EQ(truncate(big.c_str(), 40000), 0);
  while (session.step()) {
  }
  EXPECT_EQ(session.failure(), SearchSession::Failure::kDictionaryInvalidated);
  EXPECT_EQ(session.failedPath(), big);
  EXPECT_EQ(session.state(), SearchState::NoPattern);
  EXPECT_EQ(session.pane(1).results.count(), 0);
  EXPECT_GT(session.pane(0).results.count(), 0);
}

TEST_F(SearchSessionTest, ThePatternsOfAPanesResultsOutliveTheNextPatternTyped) {
  QCDictionaryList list(first);
  SearchSession session(list);
  SearchSettings settings;
  settings.expansionAt = "[ae]";
  ASSERT_EQ(session.validate("t@il", settings).state, SearchState::Ready);
  EXPECT_EQ(session.searchPatterns(0), nullptr);  // nothing searched yet
  ASSERT_TRUE(session.start());
  while (session.step()) {
  }
  settings.expansionAt = "[o]";
  ASSERT_EQ(session.validate("n*", settings).state, SearchState::Ready);
  const std::unique_ptr<MatchEngineSet> patterns = session.searchPatterns(0);
  ASSERT_NE(patterns, nullptr);
  const Alphabet& alphabet = list.alphabet(0);
  auto accepts = [&](std::string_view word) {
    std::vector<uint8_t> letters;
    for (char c : word) letters.push_back(alphabet.letterIndex[static_cast<uint8_t>(c)]);
    letters.push_back(kEndOfLetters);
    const int length = static_cast<int>(word.size());
    return patterns->setCurrentLength(length) &&
           patterns->accepts(letters.data(), length, std::string(word).c_str());
  };
  EXPECT_TRUE(accepts("tail"));
  EXPECT_FALSE(accepts("toil"));
  EXPECT_FALSE(accepts("nights"));
  EXPECT_EQ(session.searchPatterns(5), nullptr);
}

// Sections kept decoded in memory (as the window keeps them) change no result.
TEST_F(SearchSessionTest, DecodedSectionsKeptInMemoryGiveTheSameResults) {
  std::vector<std::string> words = test::systemWordList();
  if (words.empty()) GTEST_SKIP() << "no system word list";
  words.resize(std::min<size_t>(words.size(), 60000));
  const std::string path = dir.file("words.qcd");
  ASSERT_TRUE(test::buildTestDictionary(path, words));
  const char* patterns[] = {".l...r.n", ";lobikes", "m*ja",  "12341234", ";..oting & ! *ing",
                            "*ing",     "a*",       "t@il*", "(*)ee(*)", "!*e*"};
  std::vector<std::vector<std::vector<std::string>>> before;
  for (const char* pattern : patterns) before.push_back(search(path, pattern));
  setDecodedSectionBudget(256 << 20);
  QCDictionaryList held(path);  // keeps the dictionary, and so its sections, open between searches
  for (int pass = 0; pass < 2; ++pass) {  // the first keeps the sections, the second replays them
    for (size_t i = 0; i < std::size(patterns); ++i) {
      EXPECT_EQ(search(path, patterns[i]), before[i]) << patterns[i] << " pass " << pass;
    }
  }
  EXPECT_GT(decodedSectionBytes(), 0u);
  setDecodedSectionBudget(0);
}

// A program that writes results as they come gets exactly what the list would hold, in its order;
// sorted searches and several dictionaries still keep their lists.
TEST_F(SearchSessionTest, ResultsHandedOverAsFoundAreThoseTheListWouldHold) {
  // Decoded, then from sections kept in memory, which hand over their entries many at a time:
  // capitals, phrases and annotations among them.
  for (const bool kept : {false, true}) {
    if (kept) setDecodedSectionBudget(1 << 20);
    QCDictionaryList list(first);
    for (int pass = 0; pass < (kept ? 2 : 1); ++pass) {
      for (const char* pattern : {"t*", "*", ";tonight", "n*s", "*e", "*e*"}) {
        const std::vector<std::string> stored = search(first, pattern)[0];
        SearchSession session(list);
        std::vector<std::string> handed;
        session.setResultSink([&](std::span<const SearchSession::StreamedResult> results) {
          for (const SearchSession::StreamedResult& r : results) {
            handed.push_back(std::string(r.entry).append(r.annotation).append(r.extra));
          }
          return true;
        });
        ASSERT_EQ(session.validate(pattern, {}).state, SearchState::Ready);
        ASSERT_TRUE(session.start());
        EXPECT_TRUE(session.streaming());
        while (session.step()) {
        }
        EXPECT_EQ(handed, stored) << pattern << (kept ? " kept, pass " : "") << pass;
        EXPECT_EQ(session.pane(0).results.count(), 0);
      }
    }
    if (kept) {
      EXPECT_GT(decodedSectionBytes(), 0u);
    }
  }
  setDecodedSectionBudget(0);
  QCDictionaryList two(first + ";" + second);
  SearchSession several(two);
  several.setResultSink([](std::span<const SearchSession::StreamedResult>) { return true; });
  ASSERT_EQ(several.validate("t*", {}).state, SearchState::Ready);
  ASSERT_TRUE(several.start());
  EXPECT_FALSE(several.streaming());
  SearchSettings sorted;
  sorted.sorting = true;
  QCDictionaryList one(first);
  SearchSession ordered(one);
  ordered.setResultSink([](std::span<const SearchSession::StreamedResult>) { return true; });
  ASSERT_EQ(ordered.validate("t*", sorted).state, SearchState::Ready);
  ASSERT_TRUE(ordered.start());
  EXPECT_FALSE(ordered.streaming());
}

// A sink that takes no more (its output failed) stops the search where it said so: not one more
// step, whichever way the results were handed over.
TEST_F(SearchSessionTest, ASinkThatRefusesMoreStopsTheSearchAtOnce) {
  for (const bool kept : {false, true}) {
    setDecodedSectionBudget(kept ? 1 << 20 : 0);
    QCDictionaryList list(first);
    for (const bool asLines : {false, true}) {
      for (const char* pattern : {"*", "t*", "*e"}) {
        // Twice over kept sections: they are kept by the first search, replayed by the second.
        for (int pass = 0; pass < (kept ? 2 : 1); ++pass) {
          SCOPED_TRACE(std::string(pattern) + (asLines ? " as lines" : "") + (kept ? " kept" : ""));
          SearchSession session(list);
          int handed = 0;
          session.setResultSink([&](std::span<const SearchSession::StreamedResult>) {
            ++handed;
            return false;
          });
          if (asLines) {
            session.setLinesSink([&](std::string_view, size_t) {
              ++handed;
              return false;
            });
          }
          ASSERT_EQ(session.validate(pattern, {}).state, SearchState::Ready);
          ASSERT_TRUE(session.start());
          int stepsAfter = 0;
          while (session.step()) stepsAfter += handed > 0;
          EXPECT_EQ(handed, 1);
          EXPECT_EQ(stepsAfter, 0);
          EXPECT_EQ(session.failure(), SearchSession::Failure::kStopped);
          EXPECT_EQ(session.state(), SearchState::Ready);
        }
      }
    }
  }
  setDecodedSectionBudget(0);
}

}  // namespace
}  // namespace qel
