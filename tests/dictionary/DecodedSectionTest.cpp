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
#include "support/TestDictionaries.h"

namespace qel {
namespace {

class DecodedSections : public ::testing::Test {
 protected:
  void SetUp() override { setDecodedSectionBudget(64 << 20); }
  void TearDown() override { setDecodedSectionBudget(0); }
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
  ASSERT_TRUE(test::buildTestDictionary(path, lines));
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
