// Sections kept decoded in memory replay exactly what decoding the file gives, and go when the
// file changes or the budget is too small.
#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <set>
#include <thread>

#include "dictionary/DecodedSection.h"
#include "dictionary/DecodedSideFile.h"
#include "dictionary/Dictionary.h"
#include "dictionary/EntryEnumerator.h"
#include "dictionary/EnumeratedItems.h"
#include "dictionary/QCDictionaryList.h"
#include "pattern/MatchEngineSet.h"
#include "support/TestDictionaries.h"

namespace qel {
namespace {

class DecodedSections : public ::testing::Test {
 protected:
  void SetUp() override { setDecodedSectionBudget(64 << 20); }
  void TearDown() override { setDecodedSectionBudget(0); }

  // A dictionary of 700 random five-letter words, most spelled out by their letters, the others
  // with a capital, a hyphen or an annotation, some with a definition.
  std::string mixedWords() {
    std::mt19937 random(11);
    std::vector<std::string> lines;
    std::set<std::string> words;
    while (words.size() < 700) {
      std::string word(5, 'a');
      for (char& c : word) c = static_cast<char>('a' + random() % 26);
      if (!words.insert(word).second) continue;
      switch (random() % 8) {
        case 0:
          word[0] = static_cast<char>(word[0] - 'a' + 'A');
          break;
        case 1:
          word.insert(2, "-");
          break;
        case 2:
          word += "+noun+";
          break;
        default:
          break;
      }
      if (random() % 5 < 2) word += "|Meaning of " + word + ".";
      lines.push_back(word);
    }
    const std::string path = m_dir.file("words.qcd");
    EXPECT_TRUE(test::buildTestDictionary(path, lines));
    return path;
  }

  test::TempDir m_dir;
};

TEST_F(DecodedSections, ReplayGivesWhatDecodingGaveWithoutTheFile) {
  const std::string path = m_dir.file("words.qcd");
  ASSERT_TRUE(test::buildTestDictionary(
      path, {"tail|A tail.", "Tail End+a band+|Players.", "tail-end:tailend|The end.", "toll",
             "tall+adjective+", "tails", ";hidden|Region one.", "bank++2+|Money.", "\xE9t\xE9",
             "tale:tael|A story."}));
  QCDictionaryList list(path);
  ASSERT_TRUE(list.recheck(0));
  const size_t before = decodedSectionBytes();
  for (int length = 1; length <= 8; ++length) {
    EntryEnumerator first(list, 0);
    bool fromMemory = true;
    const auto decoded = test::enumerateItems(first, length, &fromMemory);
    EXPECT_FALSE(fromMemory);
    EntryEnumerator second(list, 0);
    // Past the entries (the first group) the file takes over, from the same place.
    const auto replayed = test::enumerateItems(second, length, &fromMemory);
    if (list.entryCount(0, length) > 0) {
      EXPECT_TRUE(fromMemory) << length;
    }
    EXPECT_EQ(replayed, decoded) << "length " << length;
  }
  EXPECT_GT(decodedSectionBytes(), before);

  // A file read again drops what was kept: the next enumeration decodes the new file.
  std::this_thread::sleep_for(std::chrono::milliseconds(1100));
  ASSERT_TRUE(test::buildTestDictionary(path, {"tail|Another tail.", "toil"}));
  ASSERT_TRUE(list.recheck(0));
  EntryEnumerator after(list, 0);
  bool fromMemory = true;
  const auto fresh = test::enumerateItems(after, 4, &fromMemory);
  EXPECT_FALSE(fromMemory);
  ASSERT_EQ(fresh.size(), 5u);  // two entries, two group ends, the end
  EXPECT_NE(fresh[0].find("tail"), std::string::npos);
  EXPECT_NE(fresh[1].find("toil"), std::string::npos);
}

// Most entries keep no item: their text, group state and reference come from their letters and
// their place, across many words of flags, mixed with entries that keep theirs (capitals,
// hyphens, annotations), and so do the groups after them.
TEST_F(DecodedSections, EntriesSpelledOutReplayTheirTextsAndReferences) {
  const std::string path = mixedWords();
  QCDictionaryList list(path);
  ASSERT_TRUE(list.recheck(0));
  EntryEnumerator first(list, 0);
  const auto decoded = test::enumerateItems(first, 5);
  const auto kept = list.dictionary(0).decodedSection(5);
  ASSERT_TRUE(kept);
  EXPECT_GT(kept->leadingEntries, 600u);
  EXPECT_LT(kept->unspelledLeading, kept->leadingEntries / 2);
  EntryEnumerator second(list, 0);
  EXPECT_EQ(test::enumerateItems(second, 5), decoded);
  // And from a side file, mapped by another list.
  const std::string folder = m_dir.file("cache");
  QCDictionaryList other(path);
  ASSERT_TRUE(other.recheck(0));
  setDecodedSectionBudget(0);
  ASSERT_EQ(useDecodedSideFile(other.dictionary(0), folder), SideFileUse::kMade);
  QCDictionaryList third(path);
  ASSERT_TRUE(third.recheck(0));
  ASSERT_EQ(useDecodedSideFile(third.dictionary(0), folder), SideFileUse::kMapped);
  EntryEnumerator mapped(third, 0);
  bool fromSideFile = false;
  EXPECT_EQ(test::enumerateItems(mapped, 5, &fromSideFile), decoded);
  EXPECT_TRUE(fromSideFile);
}

// Entries handed out many at a time are those replay gives one at a time, with the same words and
// annotations, whatever the number asked for, with or without a filter.
TEST_F(DecodedSections, EntriesHandedOutTogetherAreThoseReplayGivesOneByOne) {
  const std::string path = mixedWords();
  QCDictionaryList list(path);
  ASSERT_TRUE(list.recheck(0));
  EntryEnumerator decoding(list, 0);
  test::enumerateItems(decoding, 5);  // keeps the section
  // An anagram of one of its words is searched too.
  std::string anagram;
  EntryEnumerator probe(list, 0);
  ASSERT_TRUE(probe.selectLength(5));
  while (anagram.empty() && probe.next(nullptr)[0] != kEndOfLetters) {
    const std::string word(probe.word());
    if (word.find_first_not_of("abcdefghijklmnopqrstuvwxyz") == std::string::npos) {
      anagram = ";" + std::string(word.rbegin(), word.rend());
    }
  }
  ASSERT_TRUE(list.dictionary(0).decodedSection(5));
  auto item = [](const EntryEnumerator& e) {
    return std::string(e.word()) + "|" + (e.annotation() ? e.annotation() : "");
  };
  for (const std::string& pattern :
       {std::string(), std::string("*"), std::string(".a..."), std::string("*e"), anagram}) {
    MatchEngineSet engine;
    EntryFilter* filter = nullptr;
    if (!pattern.empty()) {
      ASSERT_EQ(engine.parse(list.alphabet(0), pattern, 1, 31), pattern::PatternError::kValid);
      ASSERT_TRUE(engine.setCurrentLength(5));
      filter = &engine;
    }
    EntryEnumerator single(list, 0);
    ASSERT_TRUE(single.selectLength(5));
    ASSERT_TRUE(single.replaying());
    std::vector<std::string> expected;
    for (const uint8_t* letters;
         (letters = single.nextBatch(filter)) == nullptr || letters[0] != kEndOfLetters;) {
      if (letters) expected.push_back(item(single));
    }
    for (const size_t capacity : {size_t{1}, size_t{3}, EntryEnumerator::kAcceptedCapacity}) {
      EntryEnumerator bulk(list, 0);
      ASSERT_TRUE(bulk.selectLength(5));
      std::vector<std::string> handed;
      size_t inBulk = 0;
      EntryEnumerator::AcceptedEntry accepted[EntryEnumerator::kAcceptedCapacity];
      for (;;) {
        const size_t count = bulk.nextAccepted(filter, accepted, capacity);
        ASSERT_LE(count, capacity);
        for (size_t i = 0; i < count; ++i) {
          handed.push_back(std::string(accepted[i].word) + "|" +
                           std::string(accepted[i].annotation));
        }
        inBulk += count;
        if (count > 0) continue;
        const uint8_t* letters = bulk.nextBatch(filter);
        if (!letters) continue;
        if (letters[0] == kEndOfLetters) break;
        handed.push_back(item(bulk));
      }
      EXPECT_EQ(handed, expected) << pattern << " by " << capacity;
      EXPECT_EQ(bulk.entriesScanned(), single.entriesScanned()) << pattern << " by " << capacity;
      // Every entry a filter accepts comes in bulk, but for those after the leading ones.
      EXPECT_GT(inBulk, expected.size() / 2) << pattern << " by " << capacity;
    }
  }
}

TEST_F(DecodedSections, OnlyWholeSectionsWithinTheBudgetAreKept) {
  const std::string path = m_dir.file("words.qcd");
  ASSERT_TRUE(test::buildTestDictionary(path, {"tail", "toll", "tall", "tell"}));
  QCDictionaryList list(path);
  ASSERT_TRUE(list.recheck(0));
  {
    EntryEnumerator partial(list, 0);  // stopped after one entry
    ASSERT_TRUE(partial.selectLength(4));
    partial.next(nullptr);
  }
  EntryEnumerator e(list, 0);
  bool fromMemory = true;
  test::enumerateItems(e, 4, &fromMemory);
  EXPECT_FALSE(fromMemory);  // the partial enumeration kept nothing
  setDecodedSectionBudget(0);
  EntryEnumerator unkept(list, 0);
  test::enumerateItems(unkept, 4);
  EntryEnumerator again(list, 0);
  ASSERT_TRUE(again.selectLength(4));
  EXPECT_TRUE(again.replaying());  // the section kept before the budget went stays
}

TEST_F(DecodedSections, NothingIsKeptWithoutABudget) {
  setDecodedSectionBudget(0);
  const std::string path = m_dir.file("words.qcd");
  ASSERT_TRUE(test::buildTestDictionary(path, {"tail", "toll"}));
  QCDictionaryList list(path);
  ASSERT_TRUE(list.recheck(0));
  const size_t before = decodedSectionBytes();
  EntryEnumerator e(list, 0);
  test::enumerateItems(e, 4);
  EntryEnumerator again(list, 0);
  ASSERT_TRUE(again.selectLength(4));
  EXPECT_FALSE(again.replaying());
  EXPECT_EQ(decodedSectionBytes(), before);
}

}  // namespace
}  // namespace qel
