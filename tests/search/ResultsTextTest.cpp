// Results saved as text: every result, in order, in UTF-8; a failed save keeps the old file.
#include <gtest/gtest.h>

#include "search/ResultList.h"
#include "search/ResultsText.h"
#include "support/TestDictionaries.h"

namespace qel {
namespace {

TEST(ResultsText, EveryResultIsSavedWithItsLineEndAndNothingIsLostOnFailure) {
  ResultList results;
  results.setOrder(ResultOrder{}, false);
  results.add("caf\xE9", " noun", " +e", 0);
  results.add("tail", "", "", 0);
  results.selection().selectAll(results.count());
  test::TempDir dir;
  const std::string path = dir.file("results.txt");
  ASSERT_TRUE(saveResultsText(results, path, "\n").ok());
  EXPECT_EQ(test::readFile(path), "caf\xC3\xA9 noun +e\ntail\n");
  ASSERT_TRUE(saveResultsText(results, path, "\r\n").ok());
  EXPECT_EQ(test::readFile(path), "caf\xC3\xA9 noun +e\r\ntail\r\n");
  // A folder that does not exist: the save fails and says why.
  const Status missing = saveResultsText(results, dir.file("missing/results.txt"), "\n");
  EXPECT_EQ(missing.code(), Status::Code::kUnwritable);
  EXPECT_FALSE(missing.reason().empty());
}

TEST(ResultsText, SuggestedNamesAndDefaultExtensions) {
  EXPECT_EQ(suggestedSaveName("/a/b.c/words.list.txt"), "/a/b.c/words");
  EXPECT_EQ(suggestedSaveName("words"), "words");
  EXPECT_EQ(withDefaultExtension("/a/b.c/words", ".txt"), "/a/b.c/words.txt");
  EXPECT_EQ(withDefaultExtension("/a/words.old", ".txt"), "/a/words.old");
}

}  // namespace
}  // namespace qel
