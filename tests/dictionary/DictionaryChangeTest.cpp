// A dictionary file that changes while it is read (replaced under its name, cut short, rewritten,
// or read again) ends the enumeration and says so, instead of mixing two files or stopping early
// in silence.
#include <gtest/gtest.h>
#include <stdio.h>
#include <sys/wait.h>

#include <filesystem>
#include <functional>
#include <random>
#include <set>
#include <thread>

#include "dictionary/EntryEnumerator.h"
#include "dictionary/QCDictionaryList.h"
#include "search/SearchSession.h"
#include "support/CliProcess.h"
#include "support/TestDictionaries.h"

namespace qel {
namespace {

namespace fs = std::filesystem;

constexpr int kPerLength = 12000;

// Words of lengths 5 to 9 that start with `first`, kPerLength of each: every section spans
// several 16 KB blocks.
std::vector<std::string> manyWords(unsigned seed, char first) {
  std::mt19937 random(seed);
  std::set<std::string> words;
  for (int length = 5; length <= 9; ++length) {
    const size_t target = words.size() + kPerLength;
    while (words.size() < target) {
      std::string w(1, first);
      while (static_cast<int>(w.size()) < length)
        w.push_back(static_cast<char>('a' + random() % 26));
      words.insert(w);
    }
  }
  return {words.begin(), words.end()};
}

// Gives the file a last-write time that differs from the one just read, as any real change some
// time later would.
void ageFile(const std::string& file) {
  fs::last_write_time(file, fs::last_write_time(file) - std::chrono::seconds(10));
}

class DictionaryChange : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(test::buildTestDictionary(path, manyWords(1, 'a')));
    ASSERT_TRUE(test::buildTestDictionary(replacement, manyWords(2, 'z')));
  }

  test::TempDir dir;
  std::string path = dir.file("words.qcd");
  std::string replacement = dir.file("new.qcd");
};

TEST_F(DictionaryChange, ChangesDuringAnEnumerationEndItAndInvalidateTheDictionary) {
  struct Case {
    const char* name;
    bool betweenSections;  // the change comes after a whole section rather than within one
    // Changes the file at `path`, which `replacement` may replace.
    std::function<void(const std::string& path, const std::string& replacement, Dictionary&)>
        change;
    bool dictionaryInvalidated;  // false: the dictionary was read again and is valid
  };
  const Case cases[] = {
      {"replaced under its name", true,
       [](const std::string& p, const std::string& r, Dictionary&) { fs::rename(r, p); }, true},
      {"cut short in place", false,
       [](const std::string& p, const std::string&, Dictionary&) {
         fs::resize_file(p, fs::file_size(p) / 2);
       },
       true},
      {"rewritten in place", false,
       [](const std::string& p, const std::string&, Dictionary&) {
         test::writeFile(p, test::readFile(p));
         ageFile(p);
       },
       true},
      {"read again after a replacement", false,
       [](const std::string& p, const std::string& r, Dictionary& d) {
         fs::rename(r, p);
         d.recheck();
       },
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    QCDictionaryList list(path);
    ASSERT_TRUE(list.recheck(0));
    Dictionary& dictionary = list.dictionary(0);
    EntryEnumerator e(list, 0);
    ASSERT_TRUE(e.selectLength(5));
    long listed = 0;
    if (c.betweenSections) {
      while (e.next(nullptr)[0] != kEndOfLetters) ++listed;
      EXPECT_FALSE(e.invalidated());
      c.change(path, replacement, dictionary);
      EXPECT_FALSE(e.selectLength(6));
    } else {
      for (int k = 0; k < 10; ++k) ASSERT_NE(e.next(nullptr)[0], kEndOfLetters);
      c.change(path, replacement, dictionary);
      while (e.next(nullptr)[0] != kEndOfLetters) {
        ASSERT_EQ(e.text()[0], 'a') << "an entry of another file";
        ++listed;
      }
      EXPECT_LT(listed, kPerLength - 10);
    }
    EXPECT_TRUE(e.invalidated());
    EXPECT_EQ(dictionary.invalidated(), c.dictionaryInvalidated);
    EXPECT_EQ(dictionary.valid(), !c.dictionaryInvalidated);
    // Until the file is read again the dictionary stays as it is; a new enumerator sees that.
    EntryEnumerator later(list, 0);
    EXPECT_EQ(later.selectLength(7), !c.dictionaryInvalidated);
    EXPECT_EQ(later.invalidated(), c.dictionaryInvalidated);
  }
}

// What the search session sees: the dictionary invalidated, and none of the new file's entries
// among the results.
TEST_F(DictionaryChange, SearchThatOutlivesItsFileSeesTheDictionaryInvalidated) {
  QCDictionaryList list(path);
  SearchSession session(list);
  ASSERT_EQ(session.validate("*", SearchSettings{}).state, SearchState::Ready);
  ASSERT_TRUE(session.start());
  while (session.pane(0).results.count() < 100) ASSERT_TRUE(session.step());
  fs::rename(replacement, path);
  while (session.step()) {
  }
  EXPECT_TRUE(list.dictionary(0).invalidated());
  const ResultList& results = session.pane(0).results;
  EXPECT_LT(results.count(), 2 * kPerLength);
  for (long r = 0; r < results.count(); ++r) {
    ASSERT_EQ(results.record(r)->text()[0], 'a') << "an entry of another file";
  }
}

// A file deleted part way is a change too: the search does not end as if complete.
TEST_F(DictionaryChange, SearchWhoseFileIsDeletedSeesTheDictionaryInvalidated) {
  QCDictionaryList list(path);
  SearchSession session(list);
  ASSERT_EQ(session.validate("*", SearchSettings{}).state, SearchState::Ready);
  ASSERT_TRUE(session.start());
  while (session.pane(0).results.count() < 100) ASSERT_TRUE(session.step());
  fs::remove(path);
  while (session.step()) {
  }
  EXPECT_EQ(session.failure(), SearchSession::Failure::kDictionaryInvalidated);
  EXPECT_LT(session.pane(0).results.count(), 2 * kPerLength);
}

// qel-cli stops with the reason and status 2. Standard output is a pipe read only after the
// change, so the program is part of the way through when the file changes.
TEST_F(DictionaryChange, CommandLineStopsWithDictionaryInvalidated) {
  for (const bool replace : {true, false}) {
    SCOPED_TRACE(replace ? "replaced" : "cut short");
    SetUp();
    const std::string errFile = dir.file("err");
    const std::string command = test::shellQuoted(QEL_CLI_PATH) + " list " +
                                test::shellQuoted(path) + " 2>" + test::shellQuoted(errFile);
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    char line[256];
    ASSERT_NE(fgets(line, sizeof line, pipe), nullptr);
    // The program fills the pipe and waits; give it the time to get there.
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    if (replace) {
      fs::rename(replacement, path);
    } else {
      fs::resize_file(path, fs::file_size(path) / 2);
    }
    long lines = 1;
    while (fgets(line, sizeof line, pipe)) {
      ++lines;
      ASSERT_EQ(line[0], 'a') << "an entry of another file";
    }
    const int status = pclose(pipe);
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 2);
    EXPECT_LT(lines, 5 * kPerLength);  // not the whole file
    EXPECT_NE(test::readFile(errFile).find("Dictionary Invalidated"), std::string::npos)
        << test::readFile(errFile);
  }
}

}  // namespace
}  // namespace qel
