// Definitions of a word, read back from dictionaries written by our own builder: which records
// come, in which order, with which headings and bodies; and that damaged files stay harmless.
#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

#include "dictionary/DefinitionReferences.h"
#include "dictionary/DefinitionsOfWord.h"
#include "dictionary/Dictionary.h"
#include "dictionary/EntryEnumerator.h"
#include "dictionary/QCDictionaryDefinitionRetriever.h"
#include "dictionary/QCDictionaryList.h"
#include "support/TestDictionaries.h"

namespace qel {
namespace {

using Texts = std::vector<std::string>;

const std::vector<std::string> kSource = {
    "apple:pome;malus|The apple is a round fruit of a tree.",
    "bank++1+|The bank of a river is its edge.",
    "bank++2+:depot|A place that holds money.",
    "tail-end:tailend|The last part of something.",
    "Tail End+a band+|A band of players.",
    ";hidden|A region one record about a river.",
    "delta|{\\rtf1\\ansi{\\fonttbl\\f0 Arial;}\\b river\\b0  mouth\\par caf\\'e9}",
    "bare|",
    "echo:echo|Said twice on its line.",
    "zero++|Nothing after the heading mark.",
};

class DefinitionRetrieval : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(test::buildTestDictionary(m_path, kSource)); }

  std::vector<Definition> define(const std::string& word, const std::string& listText = "") {
    QCDictionaryList list(listText.empty() ? m_path : listText);
    std::vector<Definition> out;
    definitionsOfWord(list, word, out);
    return out;
  }

  test::TempDir m_dir;
  std::string m_path = m_dir.file("defs.qcd");
};

TEST_F(DefinitionRetrieval, RecordComesWithItsHeadingPairsAndBody) {
  const auto found = define("apple");
  ASSERT_EQ(found.size(), 1u);
  const Definition& d = found[0];
  EXPECT_EQ(d.firstTexts, (Texts{"apple", "pome"}));  // pairs stop at the field ended by ";"
  EXPECT_EQ(d.secondTexts, (Texts{"", ""}));
  EXPECT_EQ(d.body, "The apple is a round fruit of a tree.");
  EXPECT_EQ(d.entryText, "apple");
  EXPECT_EQ(d.dictionaryPath, m_path);
  EXPECT_EQ(d.dictionaryNumber, 0);
  EXPECT_GT(d.recordOffset, 0u);
  // Every entry of the line leads to the same record, the one that is no heading too.
  for (const char* other : {"pome", "malus"}) {
    const auto viaOther = define(other);
    ASSERT_EQ(viaOther.size(), 1u) << other;
    EXPECT_EQ(viaOther[0].recordOffset, d.recordOffset) << other;
    EXPECT_EQ(viaOther[0].entryText, other);
  }
}

TEST_F(DefinitionRetrieval, RecordsOfOneEntryComeInTableOrderWithTheirSecondTexts) {
  const auto found = define("bank");
  ASSERT_EQ(found.size(), 2u);
  EXPECT_EQ(found[0].firstTexts, Texts{"bank"});
  EXPECT_EQ(found[0].secondTexts, Texts{"1"});
  EXPECT_EQ(found[0].body, "The bank of a river is its edge.");
  EXPECT_EQ(found[1].secondTexts, (Texts{"2", ""}));
  EXPECT_EQ(found[1].body, "A place that holds money.");
  EXPECT_LT(found[0].recordOffset, found[1].recordOffset);
}

TEST_F(DefinitionRetrieval, WordFindsEveryEntryWithItsLettersOnceEachRecord) {
  // "tail-end" and "tailend" share one record; "Tail End" has its own.
  for (const char* word : {"tail-end", "tailend", "TAIL END", "t.a.i.l.e.n.d"}) {
    const auto found = define(word);
    ASSERT_EQ(found.size(), 2u) << word;
    EXPECT_EQ(found[0].entryText, "tail-end") << word;  // first entry in file order wins
    EXPECT_EQ(found[0].body, "The last part of something.");
    EXPECT_EQ(found[1].entryText, "Tail End");
    EXPECT_EQ(found[1].body, "A band of players.");
  }
  // An entry named twice on its line still gives its record once.
  EXPECT_EQ(define("echo").size(), 1u);
}

TEST_F(DefinitionRetrieval, RegionOneRecordHasNoHeadingsAndRichBodyIsKeptAsStored) {
  const auto hidden = define("hidden");
  ASSERT_EQ(hidden.size(), 1u);
  EXPECT_TRUE(hidden[0].firstTexts.empty());
  EXPECT_TRUE(hidden[0].secondTexts.empty());
  EXPECT_EQ(hidden[0].entryText, "hidden");
  EXPECT_EQ(hidden[0].body, "A region one record about a river.");

  const auto delta = define("delta");
  ASSERT_EQ(delta.size(), 1u);
  EXPECT_EQ(delta[0].body,
            "{\\rtf1\\ansi{\\fonttbl\\f0 Arial;}\\b river\\b0  mouth\\par caf\\'e9}");
}

TEST_F(DefinitionRetrieval, EmptyBodiesAndWordsWithoutRecordsGiveWhatTheFileHolds) {
  const auto bare = define("bare");
  ASSERT_EQ(bare.size(), 1u);
  EXPECT_EQ(bare[0].body, "");
  const auto zero = define("zero");
  ASSERT_EQ(zero.size(), 1u);
  EXPECT_EQ(zero[0].firstTexts, Texts{"zero"});
  EXPECT_EQ(zero[0].secondTexts, Texts{""});
  for (const char* word : {"river", "nothing", "", "-- --", "app", "apples"}) {
    EXPECT_TRUE(define(word).empty()) << word;
  }
}

TEST_F(DefinitionRetrieval, ListedDictionariesAnswerInListOrderAndInvalidOnesAreSkipped) {
  const std::string other = m_dir.file("other.qcd");
  ASSERT_TRUE(test::buildTestDictionary(other, {"bank|A seat.", "Bank++3+|Heaped earth."}));
  const auto found = define("bank", other + ";" + m_dir.file("missing.qcd") + ";" + m_path);
  ASSERT_EQ(found.size(), 4u);
  // Entries of one dictionary in file order: "Bank" sorts before "bank".
  EXPECT_EQ(found[0].dictionaryNumber, 0);
  EXPECT_EQ(found[0].entryText, "Bank");
  EXPECT_EQ(found[0].body, "Heaped earth.");
  EXPECT_EQ(found[1].entryText, "bank");
  EXPECT_EQ(found[1].body, "A seat.");
  EXPECT_EQ(found[1].dictionaryPath, other);
  EXPECT_EQ(found[2].dictionaryNumber, 2);
  EXPECT_EQ(found[3].dictionaryNumber, 2);
  EXPECT_EQ(found[3].body, "A place that holds money.");

  // With the first dictionary gone, the word is still read through a usable alphabet.
  EXPECT_EQ(define("bank", m_dir.file("missing.qcd") + ";" + other).size(), 2u);
}

TEST_F(DefinitionRetrieval, LettersMissingFromADictionaryMatchNothingThere) {
  const std::string accented = m_dir.file("accented.qcd");
  ASSERT_TRUE(test::buildTestDictionary(accented, {"caf\xE9|A small restaurant."}));
  // "é" folds to "e" in the first dictionary, so "café" finds "cafe" spelled either way there.
  EXPECT_EQ(define("caf\xE9", accented).size(), 1u);
  EXPECT_EQ(define("cafe", accented).size(), 1u);
  const std::string digits = m_dir.file("digits.qcd");
  ASSERT_TRUE(test::buildTestDictionary(digits, {"abc|Letters."}));
  // "z" is a letter of the first dictionary but not of the second: nothing there, no error.
  EXPECT_TRUE(define("zzz", digits).empty());
}

TEST_F(DefinitionRetrieval, LaterLookupsThroughTheGroupStartsMatchTheFirstWalk) {
  QCDictionaryList list(m_path);
  Dictionary& d = list.dictionary(0);
  ASSERT_TRUE(list.recheck(0));
  // Record what each flagged entry of length 4 yields while the starts are built, then again
  // through them, in reverse order.
  const int length = 4;
  EXPECT_TRUE(d.referenceGroupStarts(length).empty());
  EntryEnumerator e(list, 0);
  ASSERT_TRUE(e.selectLength(length));
  std::vector<std::vector<uint32_t>> first;
  DefinitionReferences refs(list, 0);
  while (e.next(nullptr)[0] != kEndOfLetters) {
    if (!e.referenceNumber()) continue;
    ASSERT_EQ(*e.referenceNumber(), static_cast<int>(first.size()));
    first.emplace_back();
    EXPECT_TRUE(refs.references(true, length, *e.referenceNumber(), 2, first.back()));
  }
  ASSERT_GE(first.size(), 3u);  // bank, bare, echo, zero ...
  EXPECT_EQ(d.referenceGroupStarts(length).size(), first.size());
  for (int n = static_cast<int>(first.size()) - 1; n >= 0; --n) {
    std::vector<uint32_t> again;
    EXPECT_TRUE(references(list, 0, true, length, n, 2, again));
    EXPECT_EQ(again, first[n]) << n;
  }
  // Reference numbers beyond the table find nothing.
  std::vector<uint32_t> none;
  EXPECT_TRUE(refs.references(true, length, 1000, 2, none));
  EXPECT_TRUE(refs.references(true, length, 1000, 1, none));
  EXPECT_TRUE(none.empty());
}

// A table of many groups, read in blocks: every entry finds its own record, whether its group is
// found by the first walk of the table or through the group starts afterwards.
TEST_F(DefinitionRetrieval, EveryEntryOfALargeTableFindsItsOwnRecords) {
  std::vector<std::string> lines;
  auto word = [](int n) {
    std::string w = "w";
    for (int k = 0; k < 3; ++k, n /= 26) w.push_back(static_cast<char>('a' + n % 26));
    return w;
  };
  for (int n = 0; n < 700; ++n) {
    lines.push_back(word(n) + "|Body " + std::to_string(n) + ".");
    if (n % 3 == 0) lines.push_back(word(n) + "++again+|More " + std::to_string(n) + ".");
  }
  const std::string path = m_dir.file("large.qcd");
  ASSERT_TRUE(test::buildTestDictionary(path, lines));
  QCDictionaryList list(path);
  for (int n : {350, 0, 699, 128, 127, 129, 255, 256, 500, 1, 698, 351}) {
    std::vector<Definition> found;
    definitionsOfWord(list, word(n), found);
    ASSERT_EQ(found.size(), n % 3 == 0 ? 2u : 1u) << n;
    EXPECT_EQ(found[0].body, "Body " + std::to_string(n) + ".") << n;
    if (n % 3 == 0) {
      EXPECT_EQ(found[1].body, "More " + std::to_string(n) + ".");
    }
  }
  EXPECT_GT(list.dictionary(0).referenceGroupStarts(4).size(), 600u);
}

TEST_F(DefinitionRetrieval, ReportsTheFileTimeAndFollowsARebuiltFile) {
  QCDictionaryList list(m_path);
  int64_t before = 0;
  {
    QCDictionaryDefinitionRetriever retriever(list, 0, &before);
    EXPECT_TRUE(retriever.isOpen());
  }
  EXPECT_NE(before, 0);
  EXPECT_EQ(before, list.dictionary(0).fileTime());
  const uint32_t offset = define("apple")[0].recordOffset;

  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  ASSERT_TRUE(test::buildTestDictionary(m_path, {"other|Something else entirely."}));
  int64_t after = 0;
  QCDictionaryDefinitionRetriever retriever(list, 0, &after);
  EXPECT_NE(after, before);
  Definition d;
  d.body = "untouched";
  // The old offset now lies in other data or past the regions: nothing is read from beyond them.
  const Dictionary& rebuilt = list.dictionary(0);
  const bool inside = offset >= rebuilt.region1Start() && offset < rebuilt.definitionsEnd();
  EXPECT_EQ(retriever.read(offset, d), inside);
  if (!inside) {
    EXPECT_EQ(d.body, "untouched");
  }
  std::vector<Definition> found;
  definitionsOfWord(list, "other", found);
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].body, "Something else entirely.");

  std::filesystem::remove(m_path);
  int64_t gone = -1;
  QCDictionaryDefinitionRetriever none(list, 0, &gone);
  EXPECT_FALSE(none.isOpen());
  EXPECT_EQ(gone, 0);
  EXPECT_FALSE(none.read(found[0].recordOffset, d));
}

TEST_F(DefinitionRetrieval, RecordCutShortByTheEndOfTheFileIsNoDictionary) {
  const uint32_t offset = define("apple")[0].recordOffset;
  // Keep the header and the record up to the middle of "pome": the regions now run past the end,
  // and no definition or entry of the file is offered as if it were whole.
  const std::string bytes = test::readFile(m_path);
  const size_t cut = offset + 1 + 6 + 1 + 3;  // count, "apple", "", "pom"
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  test::writeFile(m_path, bytes.substr(0, cut));
  QCDictionaryList list(m_path);
  EXPECT_FALSE(list.recheck(0));
  EXPECT_EQ(list.dictionary(0).status().reason(),
            "Its length sections do not fit the file: it is cut short or damaged.");
  QCDictionaryDefinitionRetriever retriever(list, 0);
  EXPECT_FALSE(retriever.isOpen());
}

// Every byte of the definition regions and reference tables changed in turn: lookups end, read
// inside the file and give only records from within it.
TEST_F(DefinitionRetrieval, DamagedDefinitionsAndReferenceTablesStayHarmless) {
  const std::string good = test::readFile(m_path);
  uint32_t region1 = 0;
  {
    QCDictionaryList list(m_path);
    region1 = list.dictionary(0).region1Start();
  }
  ASSERT_GT(region1, 0u);
  const std::string damaged = m_dir.file("damaged.qcd");
  for (size_t at = region1; at < good.size(); ++at) {
    for (uint8_t flip : {0x80, 0xFF}) {
      std::string bytes = good;
      bytes[at] = static_cast<char>(bytes[at] ^ flip);
      test::writeFile(damaged, bytes);
      QCDictionaryList list(damaged);
      std::vector<Definition> found;
      for (const char* word : {"apple", "bank", "tailend", "hidden", "delta"}) {
        definitionsOfWord(list, word, found);
      }
      for (const Definition& d : found) {
        ASSERT_LT(d.recordOffset, bytes.size()) << at;
        ASSERT_LE(d.body.size(), bytes.size()) << at;
      }
    }
  }
}

TEST(LookupDictionaries, DefinitionDictionariesFollowTheOpenOnesUnlessAlreadyThere) {
  using Paths = std::vector<std::string>;
  EXPECT_EQ(lookupDictionaryPaths({"/d/a.qcd", "/d/b.qcd"}, "/d/b.qcd;/e/c.qcd;;/e/c.qcd"),
            (Paths{"/d/a.qcd", "/d/b.qcd", "/e/c.qcd"}));
  EXPECT_EQ(lookupDictionaryPaths({}, "/e/c.qcd"), Paths{"/e/c.qcd"});
  EXPECT_EQ(lookupDictionaryPaths({"/d/a.qcd"}, ""), Paths{"/d/a.qcd"});
}

}  // namespace
}  // namespace qel
