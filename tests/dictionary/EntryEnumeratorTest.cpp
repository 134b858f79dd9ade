// Entries written by the builder come back from disk exactly: text, annotation, letters, order.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <memory>
#include <random>
#include <set>

#include "dictionary/EntryEnumerator.h"
#include "dictionary/QCDictionaryList.h"
#include "pattern/FoldedCompare.h"
#include "support/TestDictionaries.h"

namespace qel {
namespace {

struct Listed {
  std::string text;
  std::string annotation;
  bool operator==(const Listed&) const = default;
};

std::vector<Listed> listLength(EntryEnumerator& e, int length) {
  std::vector<Listed> out;
  if (!e.selectLength(length)) return out;
  while (e.next(nullptr)[0] != kEndOfLetters) {
    out.push_back({e.text(), e.annotation() ? e.annotation() : ""});
  }
  return out;
}

// Entries are ordered by their whole stored text, annotation included.
bool wordListOrder(const Listed& a, const Listed& b) {
  const std::string ta = a.annotation.empty() ? a.text : a.text + '\n' + a.annotation;
  const std::string tb = b.annotation.empty() ? b.text : b.text + '\n' + b.annotation;
  const int c = folded::compare(ta, tb);
  return c != 0 ? c < 0 : ta < tb;
}

std::string escaped(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == ':' || c == ';' || c == '|' || c == '+' || c == '\\') out += '\\';
    out += c;
  }
  return out;
}

// A source with capitals, accents, punctuation, blanks, escapes, annotations, several entries per
// line and plain and rich-text bodies; `expected` gets what each length must list.
std::vector<std::string> mixedSource(std::map<int, std::vector<Listed>>& expected) {
  std::vector<std::string> lines;
  std::mt19937 random(7);
  const char* pieces[] = {"a", "b", "c", "\xE9", "\xC6", "\xDF", "\x8C", "E", "o", "r", "s",
                          "t", "-", " ", "'",    ":",    "n",    "\xFC", "Z", "y", "l", "i"};
  std::set<std::string> seen;
  auto add = [&](const Listed& entry) {
    const int letters = folded::letterCount(entry.text);
    // Entries outside 2..20 letters are dropped by the build below.
    if (letters < 2 || letters > 20) return;
    const std::string key = entry.text + '\n' + entry.annotation;
    if (seen.insert(key).second) expected[letters].push_back(entry);
  };
  for (int i = 0; i < 3000; ++i) {
    const int fields = 1 + static_cast<int>(random() % 3);
    std::string line;
    for (int f = 0; f < fields; ++f) {
      Listed entry;
      const int size = 1 + static_cast<int>(random() % 24);
      for (int k = 0; k < size; ++k) entry.text += pieces[random() % std::size(pieces)];
      if (entry.text.front() == ' ') entry.text.front() = 'q';
      if (entry.text.back() == ' ') entry.text.back() = 'q';
      if (random() % 5 == 0) entry.annotation = "note " + std::to_string(i);
      line += escaped(entry.text);
      if (!entry.annotation.empty()) line += "+" + entry.annotation + "+";
      line += f + 1 < fields ? (random() % 2 ? ":" : ";") : "";
      add(entry);
    }
    if (i % 3 == 0) line += "|plain body " + std::to_string(i);
    if (i % 7 == 0) line += "|{\\rtf1 \\b rich\\b0  body}";
    lines.push_back(line);
  }
  // The same text twice is listed once; one letter and 21 letters are outside the range.
  lines.push_back("cat");
  lines.push_back("cat|a small feline");
  add({"cat", ""});
  lines.push_back("x");
  lines.push_back("abcdefghijklmnopqrstu");
  for (auto& [length, entries] : expected) std::sort(entries.begin(), entries.end(), wordListOrder);
  return lines;
}

TEST(EntryEnumerator, MixedSourceRoundTripsInWordListOrder) {
  test::TempDir dir;
  std::map<int, std::vector<Listed>> expected;
  const auto lines = mixedSource(expected);
  test::BuildOptions options;
  options.shortest = 2;
  options.longest = 20;
  const std::string path = dir.file("mixed.qcd");
  std::string log;
  ASSERT_TRUE(test::buildTestDictionary(path, lines, options, &log)) << log;

  QCDictionaryList list(path);
  ASSERT_TRUE(list.recheck(0));
  EntryEnumerator e(list, 0);
  long total = 0;
  for (int length = 1; length <= 21; ++length) {
    const auto listed = listLength(e, length);
    const auto& want = expected[length];
    ASSERT_EQ(listed.size(), want.size()) << "length " << length;
    for (size_t i = 0; i < want.size(); ++i) {
      ASSERT_EQ(listed[i].text, want[i].text) << "length " << length << " item " << i;
      ASSERT_EQ(listed[i].annotation, want[i].annotation) << want[i].text;
    }
    EXPECT_EQ(list.entryCount(0, length), static_cast<long>(want.size()));
    total += static_cast<long>(want.size());
  }
  EXPECT_EQ(list.statistics(0).totalEntries, total);
  EXPECT_EQ(list.statistics(0).shortest, 2);
  EXPECT_EQ(list.statistics(0).longest, 20);
}

TEST(EntryEnumerator, LettersSkipPunctuationAndReferencesCountFlaggedEntries) {
  test::TempDir dir;
  const std::string path = dir.file("refs.qcd");
  ASSERT_TRUE(test::buildTestDictionary(
      path, {"abc|first", "a-b c", "ab'c|second", "AbC", "a\\:bc+why+|third"}));
  QCDictionaryList list(path);
  EntryEnumerator e(list, 0);
  ASSERT_TRUE(e.selectLength(3));
  std::vector<std::string> texts;
  std::vector<int> references;
  while (true) {
    const uint8_t* letters = e.next(nullptr);
    if (letters[0] == kEndOfLetters) break;
    texts.push_back(e.text());
    EXPECT_EQ(letters[0], list.letterIndex(0, 'a'));
    EXPECT_EQ(letters[1], list.letterIndex(0, 'b'));
    EXPECT_EQ(letters[2], list.letterIndex(0, 'c'));
    EXPECT_EQ(letters[3], kEndOfLetters);
    references.push_back(e.referenceNumber().value_or(-1));
  }
  // Bytewise order breaks the tie between texts with the same letters; the annotation's letters
  // count too, so "a:bc" (annotated "why") comes last.
  EXPECT_EQ(texts, (std::vector<std::string>{"AbC", "a-b c", "ab'c", "abc", "a:bc"}));
  EXPECT_EQ(references, (std::vector<int>{-1, -1, 0, 1, 2}));
  EXPECT_EQ(e.groupState(), 1);  // the index group of this length follows
}

TEST(EntryEnumerator, BatchesStopAfterTheBudgetAndCountScannedEntries) {
  struct EveryThousandth : EntryFilter {
    int seen = 0;
    bool accepts(const uint8_t*, int, const char*) override { return ++seen % 1000 == 0; }
  };
  struct Nothing : EntryFilter {
    bool accepts(const uint8_t*, int, const char*) override { return false; }
  };
  test::TempDir dir;
  std::vector<std::string> words;
  for (int i = 0; i < 4500; ++i) {
    std::string w;
    for (int v = i, k = 0; k < 6; ++k, v /= 26) w += static_cast<char>('a' + v % 26);
    words.push_back(w);
  }
  const std::string path = dir.file("batch.qcd");
  ASSERT_TRUE(test::buildTestDictionary(path, words));
  QCDictionaryList list(path);
  EntryEnumerator e(list, 0);

  Nothing nothing;
  ASSERT_TRUE(e.selectLength(6));
  EXPECT_EQ(e.nextBatch(&nothing), nullptr);
  EXPECT_EQ(e.entriesScanned(), 2000);
  EXPECT_EQ(e.nextBatch(&nothing), nullptr);
  const uint8_t* end = e.nextBatch(&nothing);
  ASSERT_NE(end, nullptr);
  EXPECT_EQ(end[0], kEndOfLetters);
  EXPECT_EQ(e.entriesScanned(), 4500);

  EveryThousandth some;
  ASSERT_TRUE(e.selectLength(6));
  int accepted = 0;
  for (const uint8_t* l; (l = e.nextBatch(&some)) == nullptr || l[0] != kEndOfLetters;) {
    if (l) ++accepted;
  }
  EXPECT_EQ(accepted, 4);
  EXPECT_EQ(e.entriesScanned(), 4500);
}

TEST(EntryEnumerator, EmptyAndOutOfRangeLengthsYieldNothing) {
  test::TempDir dir;
  const std::string path = dir.file("gaps.qcd");
  ASSERT_TRUE(test::buildTestDictionary(path, {"ab", "abcde"}));
  QCDictionaryList list(path);
  EntryEnumerator e(list, 0);
  for (int length : {-1, 0, 1, 3, 4, 6, 31, 40}) {
    EXPECT_FALSE(e.selectLength(length)) << length;
    EXPECT_EQ(e.next(nullptr)[0], kEndOfLetters);
  }
  EXPECT_TRUE(e.selectLength(5));
}

// The big word list: built smaller than its text, and every word comes back. Long sections cross
// many 16 KB blocks and codes straddle words and blocks.
TEST(EntryEnumerator, SystemWordListRoundTrips) {
  const auto words = test::systemWordList();
  if (words.size() < 100000) GTEST_SKIP() << "british-english-huge is not installed";
  test::TempDir dir;
  const std::string path = dir.file("huge.qcd");
  std::vector<std::string> escapedWords;
  size_t textSize = 0;
  for (const auto& w : words) {
    escapedWords.push_back(escaped(w));
    textSize += w.size() + 1;
  }
  ASSERT_TRUE(test::buildTestDictionary(path, escapedWords));
  EXPECT_LT(std::filesystem::file_size(path), textSize);

  QCDictionaryList list(path);
  EntryEnumerator e(list, 0);
  std::multiset<std::string> listed;
  for (int length = 1; length < list.slotCount(0); ++length) {
    for (auto& item : listLength(e, length)) listed.insert(item.text);
  }
  // Words of more than 31 letters cannot be stored; every other word comes back once.
  std::multiset<std::string> expected;
  for (const auto& w : std::set<std::string>(words.begin(), words.end())) {
    if (folded::letterCount(w) <= 31) expected.insert(w);
  }
  EXPECT_GT(expected.size(), words.size() - 10);
  EXPECT_TRUE(listed == expected);
}

// With fewer file handles than dictionaries, enumerators borrow handles from the oldest one and
// every section is still read to its end.
TEST(EntryEnumerator, SharesFileHandlesWhenTheProcessRunsOut) {
  test::TempDir dir;
  constexpr int kDictionaries = 12;
  std::vector<std::string> words;
  for (int i = 0; i < 30000; ++i) words.push_back("w" + std::to_string(i * 7919 % 100003) + "x");
  for (auto& w : words) {
    for (auto& c : w) c = static_cast<char>('a' + (c - '0' + 26) % 26);
  }
  std::string listText;
  for (int k = 0; k < kDictionaries; ++k) {
    const std::string path = dir.file("d" + std::to_string(k) + ".qcd");
    ASSERT_TRUE(test::buildTestDictionary(path, words));
    listText += (k ? ";" : "") + path;
  }
  QCDictionaryList list(listText);
  std::vector<std::unique_ptr<EntryEnumerator>> enumerators;
  std::vector<long> counts(kDictionaries, 0);
  std::vector<bool> done(kDictionaries, false);
  const int length = 7;

  rlimit saved{};
  getrlimit(RLIMIT_NOFILE, &saved);
  const auto open = std::distance(std::filesystem::directory_iterator("/proc/self/fd"),
                                  std::filesystem::directory_iterator());
  rlimit low = saved;
  low.rlim_cur = static_cast<rlim_t>(open + 3);
  ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &low), 0);
  bool selected = true;
  for (int k = 0; k < kDictionaries; ++k) {
    enumerators.push_back(std::make_unique<EntryEnumerator>(list, k));
    selected = selected && enumerators.back()->selectLength(length);
  }
  // Round robin, a few hundred entries at a time, so every enumerator refills many times.
  for (bool any = true; any;) {
    any = false;
    for (int k = 0; k < kDictionaries; ++k) {
      for (int step = 0; step < 300 && !done[k]; ++step) {
        if (enumerators[k]->next(nullptr)[0] == kEndOfLetters)
          done[k] = true;
        else
          ++counts[k];
      }
      any = any || !done[k];
    }
  }
  setrlimit(RLIMIT_NOFILE, &saved);
  EXPECT_TRUE(selected);
  for (int k = 0; k < kDictionaries; ++k) {
    EXPECT_EQ(counts[k], list.entryCount(k, length)) << "dictionary " << k;
  }
}

}  // namespace
}  // namespace qel
