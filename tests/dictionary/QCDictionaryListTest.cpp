// Lists share dictionaries through the pool and free them with their last use.
#include <gtest/gtest.h>

#include <memory>

#include "dictionary/EntryEnumerator.h"
#include "dictionary/QCDictionaryList.h"
#include "support/TestDictionaries.h"

namespace qel {
namespace {

TEST(QCDictionaryList, ListsNamingOneFileShareOneDictionary) {
  test::TempDir dir;
  const std::string path = dir.file("shared.qcd");
  ASSERT_TRUE(test::buildTestDictionary(path, {"alpha", "beta|second letter"}));
  const int before = QCDictionaryList::poolSize();
  auto first = std::make_unique<QCDictionaryList>(path);
  {
    // Another spelling of the same file, and the same path twice in one list.
    QCDictionaryList second(dir.path() + "/./shared.qcd;" + path);
    EXPECT_EQ(second.count(), 2);
    EXPECT_EQ(&second.dictionary(0), &first->dictionary(0));
    EXPECT_EQ(&second.dictionary(1), &first->dictionary(0));
    EXPECT_EQ(first->dictionary(0).useCount, 3);
    EXPECT_EQ(QCDictionaryList::poolSize(), before + 1);
  }
  EXPECT_EQ(first->dictionary(0).useCount, 1);
  EXPECT_TRUE(first->recheck(0));
  EntryEnumerator e(*first, 0);
  EXPECT_TRUE(e.selectLength(5));
  first.reset();
  EXPECT_EQ(QCDictionaryList::poolSize(), before);
}

TEST(QCDictionaryList, AccessorsDescribeEachMember) {
  test::TempDir dir;
  const std::string plain = dir.file("plain.words.qcd");
  const std::string defined = dir.file("defined");
  ASSERT_TRUE(test::buildTestDictionary(plain, {"one", "three"}));
  test::BuildOptions described;
  described.description = "with definitions";
  ASSERT_TRUE(test::buildTestDictionary(defined, {"one|the number 1", "two"}, described));
  QCDictionaryList list(plain + ";" + defined + ";" + dir.file("none.qcd"));
  ASSERT_EQ(list.count(), 3);
  EXPECT_EQ(list.listText(), plain + ";" + defined + ";" + dir.file("none.qcd"));
  EXPECT_EQ(list.name(0), "plain");
  EXPECT_EQ(list.name(1), "defined");
  EXPECT_EQ(list.propertiesText(0), "plain\nEntries: 2\nDescription: test dictionary");
  EXPECT_EQ(list.propertiesText(1),
            "defined\nEntries: 2\nDefinitions: 1\nDescription: with definitions");
  EXPECT_FALSE(list.hasFullTextIndex(0));
  EXPECT_TRUE(list.hasFullTextIndex(1));
  EXPECT_EQ(list.firstInvalidPath(), dir.file("none.qcd"));
  EXPECT_EQ(list.entryCount(0, 5), 1);
  EXPECT_EQ(list.entryCount(0, 40), 0);
  EXPECT_FALSE(list.fileDateText(0).empty());
  const auto s = list.statistics(0);
  EXPECT_EQ(s.shortest, 3);
  EXPECT_EQ(s.longest, 5);
  EXPECT_EQ(s.totalReferences, 0);
  EXPECT_EQ(QCDictionaryList("").count(), 0);
}

TEST(QCDictionaryList, NameIsTheFileNameUpToItsFirstDot) {
  for (const auto& [path, name] : {std::pair<std::string, std::string>{"/data/big.list.qcd", "big"},
                                   {"words.qcd", "words"},
                                   {"/tmp/a\\b.qcd", "a\\b"},  // no folder separator here
                                   {"C:\\words\\big.list.qcd", "C:\\words\\big"},
                                   {"/tmp/.hidden", ""},
                                   {"/tmp/plain", "plain"}}) {
    EXPECT_EQ(dictionaryName(path), name) << path;
  }
}

// Paths given one by one may hold the ";" that separates them in a list text.
TEST(QCDictionaryList, PathsGivenAsAListMayHoldSemicolons) {
  test::TempDir dir;
  const std::string odd = dir.file("odd;name.qcd");
  const std::string plain = dir.file("plain.qcd");
  ASSERT_TRUE(test::buildTestDictionary(odd, {"alpha"}));
  ASSERT_TRUE(test::buildTestDictionary(plain, {"beta"}));
  QCDictionaryList list(std::vector<std::string>{odd, plain});
  ASSERT_EQ(list.count(), 2);
  EXPECT_EQ(list.path(0), odd);
  EXPECT_TRUE(list.recheck(0));
  EXPECT_TRUE(list.recheck(1));
  EXPECT_EQ(list.name(0), "odd;name");
  EXPECT_EQ(list.listText(), odd + ";" + plain);
  EXPECT_EQ(QCDictionaryList(std::vector<std::string>{}).count(), 0);
}

}  // namespace
}  // namespace qel
