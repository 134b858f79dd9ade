// A results list that runs out of memory stays whole: add() fails at any allocation, the split of
// a full block and the growth of the duplicate index included, and leaves the list as it was.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <new>
#include <random>
#include <string>
#include <vector>

#include "search/ResultList.h"
#include "support/FailingAllocation.h"

namespace qel {
namespace {

std::vector<std::string> texts(const ResultList& list) {
  std::vector<std::string> out;
  for (long i = 0; i < list.count(); ++i) out.emplace_back(list.record(i)->text());
  return out;
}

// For every result, add() is first made to fail at its first allocation, then at its second, and
// so on until it succeeds; after each failure the list must show exactly what it showed before.
TEST(ResultListMemory, AddThatCannotAllocateLeavesTheListAsItWas) {
  const struct {
    ResultOrder order;
    bool keepIndex;
  } cases[] = {
      {ResultOrder::Ascending, false},           // splits mostly in the middle
      {ResultOrder::LongFirstDescending, true},  // with the index growing past 997 buckets
      {ResultOrder::Discovery, true},            // new blocks at the end, index growing
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.order));
    std::mt19937 random(static_cast<unsigned>(c.order) + 1);
    ResultList list;
    list.setOrder(c.order, c.keepIndex);
    std::vector<std::string> added;
    int splits = 0, failedSplits = 0;
    // Long annotations fill text chunks, so that some results also need a new chunk.
    const std::string annotation(60, '+');
    for (int i = 0; i < 1500; ++i) {
      std::string word;
      for (int n = 3 + static_cast<int>(random() % 5); n > 0; --n) {
        word += static_cast<char>('a' + random() % 26);
      }
      if (i == 5) list.selection().setRange(1, 3, true);
      const int blocks = list.blockCount();
      const bool wasThere = list.contains(word);
      int failures = 0;
      for (long allowance = 0;; ++allowance) {
        const std::vector<std::string> before = texts(list);
        const auto runs = list.selection().runs();
        test::g_allocationsLeft = allowance;
        const long at = list.add(word, annotation, "", i);
        test::g_allocationsLeft = -1;
        if (at >= 0) break;
        ++failures;
        ASSERT_TRUE(list.outOfMemory());
        ASSERT_EQ(list.count(), static_cast<long>(before.size()));
        ASSERT_TRUE(texts(list) == before) << "result " << i << ", allocation " << allowance;
        ASSERT_EQ(list.selection().runs(), runs);
        ASSERT_EQ(list.blockCount(), blocks);
        ASSERT_EQ(list.contains(word), wasThere);
      }
      added.push_back(word + annotation);
      if (list.blockCount() > blocks) {
        ++splits;
        failedSplits += failures > 0;
      }
    }
    // Nothing was lost or doubled by the failures.
    if (c.order != ResultOrder::Discovery) {
      std::stable_sort(added.begin(), added.end(), [&](const std::string& a, const std::string& b) {
        return sortsBefore(a.substr(0, a.size() - annotation.size()),
                           b.substr(0, b.size() - annotation.size()), c.order);
      });
    }
    EXPECT_EQ(texts(list), added);
    long total = 0;
    for (int b = 0; b < list.blockCount(); ++b) total += list.blockSize(b);
    EXPECT_EQ(total, list.count());
    for (const std::string& a : added) {
      ASSERT_TRUE(list.contains(a.substr(0, a.size() - annotation.size()))) << a;
    }
    // A fresh list has no spare blocks: every split needed memory, and could fail.
    EXPECT_GT(splits, 1);
    EXPECT_EQ(failedSplits, splits);
  }
}

TEST(ResultListMemory, ClearWithoutMemoryLeavesAnEmptyListThatWorks) {
  ResultList list;
  list.setOrder(ResultOrder::Ascending, true);
  std::mt19937 random(4);
  for (int i = 0; i < 2000; ++i) {
    std::string word;
    for (int n = 0; n < 6; ++n) word += static_cast<char>('a' + random() % 26);
    list.add(word, "", "", 0);
  }
  const std::string first(list.record(0)->entry());
  // The spare blocks cannot be listed: the blocks are freed instead of kept.
  test::g_allocationsLeft = 0;
  list.clear();
  test::g_allocationsLeft = -1;
  EXPECT_EQ(list.count(), 0);
  EXPECT_EQ(list.record(0), nullptr);
  EXPECT_FALSE(list.contains(first));
  for (const char* w : {"b", "c", "a"}) list.add(w, "", "", 0);
  EXPECT_EQ(list.record(0)->entry(), "a");
  EXPECT_EQ(list.record(2)->entry(), "c");
  EXPECT_TRUE(list.contains("B"));
}

}  // namespace
}  // namespace qel
