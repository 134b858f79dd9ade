// Results saved as a dictionary: each result's entry and annotation come back as they were, the
// balance or context is no part of the word, and the target is only ever replaced whole.
#include <gtest/gtest.h>

#include <filesystem>

#include "dictionary/Dictionary.h"
#include "dictionary/EntryEnumerator.h"
#include "dictionary/QCDictionaryList.h"
#include "maintenance/DictionaryMaintainer.h"
#include "search/ResultList.h"
#include "support/TestDictionaries.h"

namespace qel {
namespace {

using Texts = std::vector<std::string>;

// Every entry of a dictionary file ("word" or "word\nannotation"), shortest first.
Texts entriesOf(const std::string& path) {
  Dictionary d;
  if (!d.open(path, false)) return {"invalid"};
  Texts texts;
  for (int length = 1; length < d.slotCount(); ++length) {
    EntryEnumerator e(d);
    if (!e.selectLength(length)) continue;
    while (e.next(nullptr)[0] != kEndOfLetters) {
      texts.push_back(std::string(e.word()));
      if (e.annotation()) texts.back() += "\n" + std::string(e.annotation());
    }
  }
  return texts;
}

Texts folderContents(const std::string& folder) {
  Texts names;
  for (const auto& e : std::filesystem::directory_iterator(folder))
    names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

TEST(DictionaryMaintainer, SourceLinesKeepTheEntryAndAnnotationApartAndLeaveOutTheRest) {
  ResultList results;
  results.add("rock:n+roll", " (music)", " +ab", 0);   // an entry the line syntax must escape
  results.add("tail", "", " +x", 0);                   // a balance, no annotation
  results.add("a\\b;c|d", " x+y:z", "", 0);            // escapes in the annotation too
  results.add("spark", "", " ...a spark of life", 7);  // a full-text result's context
  Texts lines;
  for (long i = 0; i < results.count(); ++i) lines.push_back(resultSourceLine(*results.record(i)));
  EXPECT_EQ(lines, (Texts{"rock\\:n\\+roll+(music)+\n", "tail\n", "a\\\\b\\;c\\|d+x\\+y\\:z+\n",
                          "spark\n"}));
}

TEST(DictionaryMaintainer, SavedResultsReadBackAsTheirEntriesWithTheirAnnotations) {
  test::TempDir dir;
  const std::string source = dir.file("source.qcd");
  ASSERT_TRUE(test::buildTestDictionary(source, {"unused"}));
  QCDictionaryList list(std::vector<std::string>{source});
  ResultList results;
  results.add("dotting", " (verb)", " +dt", 0);
  results.add("Hi-fi", " stereo", " +hf", 0);
  results.add("cling to", "", " +cl", 0);
  DictionaryMaintainer maintainer(results, list, 2, 9);
  maintainer.setState(DictionaryMaintainer::State::kSaving);
  const std::string target = dir.file("saved.qcd");
  ASSERT_TRUE(maintainer.save(target, "saved results", 0)) << maintainer.log();
  EXPECT_EQ(entriesOf(target), (Texts{"Hi-fi\nstereo", "cling to", "dotting\n(verb)"}));
  EXPECT_EQ(folderContents(dir.path()), (Texts{"saved.qcd", "source.qcd"}));

  // A dictionary of the list that is not valid gives no alphabet: nothing is written.
  test::writeFile(source, "not a dictionary");
  EXPECT_FALSE(maintainer.save(dir.file("other.qcd"), "", 0));
  EXPECT_EQ(maintainer.log().substr(maintainer.log().rfind('"' + source)),
            "\"" + source + "\" is not a valid dictionary\n");
  EXPECT_EQ(folderContents(dir.path()), (Texts{"saved.qcd", "source.qcd"}));
}

// The dialog's Cancel sets the state back: the build stops at its next line or entry, whether the
// results are being read or the file written, and the target keeps what it held.
TEST(DictionaryMaintainer, CancelStopsTheBuildAndKeepsTheTarget) {
  test::TempDir dir;
  const std::string target = dir.file("target.qcd");
  ASSERT_TRUE(test::buildTestDictionary(target, {"old"}));
  const std::string before = test::readFile(target);
  QCDictionaryList list(std::vector<std::string>{target});
  ResultList results;
  for (int i = 0; i < 20000; ++i) results.add("word" + std::to_string(i), "", "", 0);
  for (const int cancelAtYield : {1, 6}) {  // while lines are read; while entries are written
    SCOPED_TRACE(cancelAtYield);
    DictionaryMaintainer maintainer(results, list, 1, 31);
    int yields = 0;
    maintainer.setYield([&] {
      if (++yields == cancelAtYield) maintainer.setState(DictionaryMaintainer::State::kReady);
    });
    maintainer.setState(DictionaryMaintainer::State::kSaving);
    EXPECT_FALSE(maintainer.save(target, "", 0));
    EXPECT_EQ(maintainer.log().substr(maintainer.log().size() - 30),
              "Dictionary creation abandoned\n");
    EXPECT_EQ(test::readFile(target), before);
    EXPECT_EQ(folderContents(dir.path()), Texts{"target.qcd"});
  }
}

}  // namespace
}  // namespace qel
