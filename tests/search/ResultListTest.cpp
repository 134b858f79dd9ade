// Results keep their order, split their blocks, find duplicates by letters and keep the selection
// on the right rows while records are inserted.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <random>
#include <set>

#include "pattern/FoldedCompare.h"
#include "search/ResultList.h"

namespace qel {
namespace {

std::vector<std::string> entries(const ResultList& list) {
  std::vector<std::string> out;
  for (long i = 0; i < list.count(); ++i) out.emplace_back(list.record(i)->entry());
  return out;
}

constexpr ResultOrder kOrders[] = {
    ResultOrder::Discovery,
    ResultOrder::Ascending,
    ResultOrder::Descending,
    ResultOrder::ShortFirstAscending,
    ResultOrder::ShortFirstDescending,
    ResultOrder::LongFirstAscending,
    ResultOrder::LongFirstDescending,
};

// Entries that often tie or nearly tie: stems longer than the seven letters an order key holds,
// case, accents, punctuation and blanks that the orders ignore, and entries without letters.
std::string tieProneEntry(std::mt19937& random) {
  static const char* const kStems[] = {"",   "counter", "Counter-", "c\xD4unterp",
                                       "ab", "\xC6on",  "zz"};
  static const char kTail[] = "aAbB\xE9-' ";
  std::string e = kStems[random() % std::size(kStems)];
  for (int n = static_cast<int>(random() % 5); n > 0; --n) {
    e += kTail[random() % (sizeof kTail - 1)];
  }
  return e;
}

TEST(ResultList, EachOrderPlacesEntriesAsTheSettingsAsk) {
  const std::vector<std::string> added = {"Zeta", "ox", "bee", "ant", "alpha"};
  const struct {
    ResultOrder order;
    std::vector<std::string> expected;
  } cases[] = {
      {ResultOrder::Discovery, {"Zeta", "ox", "bee", "ant", "alpha"}},
      {ResultOrder::Ascending, {"alpha", "ant", "bee", "ox", "Zeta"}},
      {ResultOrder::Descending, {"Zeta", "ox", "bee", "ant", "alpha"}},
      {ResultOrder::ShortFirstAscending, {"ox", "ant", "bee", "Zeta", "alpha"}},
      {ResultOrder::ShortFirstDescending, {"ox", "bee", "ant", "Zeta", "alpha"}},
      {ResultOrder::LongFirstAscending, {"alpha", "Zeta", "ant", "bee", "ox"}},
      {ResultOrder::LongFirstDescending, {"alpha", "Zeta", "bee", "ant", "ox"}},
  };
  for (const auto& c : cases) {
    ResultList list;
    list.setOrder(c.order, false);
    for (const auto& e : added) list.add(e, "", "", 0);
    EXPECT_EQ(entries(list), c.expected) << "order " << static_cast<int>(c.order);
  }
  EXPECT_EQ(resultOrderFor(false, true, true, true), ResultOrder::Discovery);
  EXPECT_EQ(resultOrderFor(true, false, false, true), ResultOrder::Descending);
  EXPECT_EQ(resultOrderFor(true, true, true, false), ResultOrder::LongFirstAscending);
}

TEST(ResultList, EqualLettersGoAfterEarlierOnesAndCountAsDuplicates) {
  for (ResultOrder order :
       {ResultOrder::Discovery, ResultOrder::Ascending, ResultOrder::LongFirstDescending}) {
    ResultList list;
    list.setOrder(order, order == ResultOrder::Discovery);
    list.add("cafe", "", "", 0);
    list.add("bar", "", "", 0);
    list.add("Caf\xE9", "", "", 0);
    list.add("ca-fe", "", "", 0);
    const auto e = entries(list);
    if (order != ResultOrder::Discovery) {
      const auto first = std::find(e.begin(), e.end(), "cafe");
      ASSERT_NE(first, e.end());
      EXPECT_EQ(*(first + 1), "Caf\xE9");
      EXPECT_EQ(*(first + 2), "ca-fe");
    }
    EXPECT_TRUE(list.contains("CAFE"));
    EXPECT_TRUE(list.contains("b-a-r"));
    EXPECT_FALSE(list.contains("cafes"));
    EXPECT_FALSE(list.contains("caf"));
  }
}

TEST(ResultList, ManyRandomInsertionsStaySortedInBlocksOfAtMost511) {
  std::mt19937 random(3);
  ResultList list;
  list.setOrder(ResultOrder::ShortFirstAscending, false);
  std::vector<std::string> added;
  for (int i = 0; i < 20000; ++i) {
    std::string w;
    const int size = 1 + static_cast<int>(random() % 8);
    for (int k = 0; k < size; ++k) w += static_cast<char>('a' + random() % 6);
    added.push_back(w);
    list.add(w, "", "", 0);
  }
  std::stable_sort(added.begin(), added.end(), [](const std::string& a, const std::string& b) {
    return sortsBefore(a, b, ResultOrder::ShortFirstAscending);
  });
  EXPECT_EQ(entries(list), added);
  for (int b = 0; b < list.blockCount(); ++b) EXPECT_LE(list.blockSize(b), 511);
  EXPECT_GT(list.blockCount(), 20000 / 511);
  // Random access agrees with sequential access through the cursor.
  for (long i : {19999L, 0L, 7777L, 7778L, 512L}) EXPECT_EQ(list.record(i)->entry(), added[i]);
  EXPECT_EQ(list.record(20000), nullptr);
  EXPECT_EQ(list.record(-1), nullptr);
}

// The list against a plain vector kept in order by upper_bound, and at the end against
// std::stable_sort of everything added: the index add() answers, the order, random access and the
// duplicate test, while thousands of insertions split blocks all over the list.
TEST(ResultList, RandomInsertionsMatchAStableSortInEveryOrder) {
  for (ResultOrder order : kOrders) {
    SCOPED_TRACE(static_cast<int>(order));
    auto before = [order](const std::string& a, const std::string& b) {
      return sortsBefore(a, b, order);
    };
    std::mt19937 random(static_cast<unsigned>(order) + 11);
    ResultList list;
    list.setOrder(order, false);
    std::vector<std::string> added, model;
    for (int i = 0; i < 6000; ++i) {
      const std::string e = tieProneEntry(random);
      const auto at = std::upper_bound(model.begin(), model.end(), e, before);
      const long expected = order == ResultOrder::Discovery ? i : at - model.begin();
      ASSERT_EQ(list.add(e, "", "", i), expected) << i << " " << e;
      model.insert(model.begin() + expected, e);
      added.push_back(e);
      if (i % 61 == 0) {
        const long r = static_cast<long>(random() % model.size());
        ASSERT_EQ(list.record(r)->entry(), model[r]) << i;
        const std::string probe = tieProneEntry(random);
        const bool present = std::any_of(model.begin(), model.end(), [&](const std::string& m) {
          return folded::compare(m, probe) == 0;
        });
        EXPECT_EQ(list.contains(probe), present) << probe;
      }
    }
    std::stable_sort(added.begin(), added.end(), before);
    EXPECT_EQ(entries(list), added);
    long total = 0;
    for (int b = 0; b < list.blockCount(); ++b) {
      EXPECT_LE(list.blockSize(b), 511);
      total += list.blockSize(b);
    }
    EXPECT_EQ(total, list.count());
    // Backwards, each step a jump rather than the cursor's next record.
    for (long i = list.count() - 1; i >= 0; i -= 7) ASSERT_EQ(list.record(i)->entry(), added[i]);
  }
}

// The selection's runs and the cursor against a model of one flag per row, while insertions land
// before, inside, at the edges of and after the runs, in every order.
TEST(ResultList, SelectionAndCursorFollowRandomInsertions) {
  for (ResultOrder order : kOrders) {
    SCOPED_TRACE(static_cast<int>(order));
    std::mt19937 random(static_cast<unsigned>(order) + 23);
    ResultList list;
    list.setOrder(order, false);
    std::vector<std::string> rows;
    std::vector<bool> selected;
    for (int i = 0; i < 4000; ++i) {
      const std::string e = tieProneEntry(random);
      const long at = list.add(e, "", "", 0);
      ASSERT_GE(at, 0);
      // A row inserted inside a run joins it; one at either edge does not.
      const bool joins =
          at > 0 && at < static_cast<long>(rows.size()) && selected[at - 1] && selected[at];
      rows.insert(rows.begin() + at, e);
      selected.insert(selected.begin() + at, joins);
      if (random() % 16 == 0) {
        const int a = static_cast<int>(random() % rows.size());
        const int b = static_cast<int>(random() % rows.size());
        const bool select = random() % 3 != 0;
        list.selection().setRange(a, b, select);
        for (int k = std::min(a, b); k <= std::max(a, b); ++k) selected[k] = select;
      }
      if (i % 97 != 0) continue;
      std::vector<ResultSelection::Run> runs;
      std::string text;
      const long count = std::count(selected.begin(), selected.end(), true);
      for (int k = 0; k < static_cast<int>(rows.size()); ++k) {
        if (!selected[k]) continue;
        if (k > 0 && selected[k - 1]) {
          ++runs.back().count;
        } else {
          runs.push_back({k, 1});
        }
        text += rows[k] + (count > 1 ? "\r\n" : "");
      }
      ASSERT_EQ(list.selection().runs(), runs) << i;
      // The clipboard text reads the selected rows through the cursor.
      ASSERT_EQ(list.selectedText(), text) << i;
      // A jump, then steps across block boundaries.
      const long from = static_cast<long>(random() % rows.size());
      for (long k = from; k < std::min<long>(from + 600, list.count()); ++k) {
        ASSERT_EQ(list.record(k)->entry(), rows[k]) << k;
      }
    }
  }
}

// The key that finds a block must never contradict the order it stands for.
TEST(ResultList, OrderKeysNeverContradictTheirOrder) {
  std::mt19937 random(5);
  for (int i = 0; i < 20000; ++i) {
    const std::string a = tieProneEntry(random), b = tieProneEntry(random);
    for (ResultOrder order : kOrders) {
      if (order == ResultOrder::Discovery) continue;
      const uint64_t ka = orderKey(a, folded::letterCount(a), order);
      const uint64_t kb = orderKey(b, folded::letterCount(b), order);
      if (ka < kb) {
        EXPECT_TRUE(sortsBefore(a, b, order)) << a << " / " << b << " " << static_cast<int>(order);
      } else if (sortsBefore(a, b, order)) {
        EXPECT_EQ(ka, kb) << a << " / " << b << " " << static_cast<int>(order);
      }
    }
  }
}

// The index of letters grows from 997 buckets as it fills and still finds every entry, whatever
// its case and punctuation, and nothing else.
TEST(ResultList, DuplicateIndexFindsEveryEntryAsItGrows) {
  std::mt19937 random(9);
  ResultList list;
  list.setOrder(ResultOrder::Discovery, true);
  std::vector<std::string> added;
  std::set<std::string> letters;  // folded letters of every entry added
  auto foldedLetters = [](const std::string& e) {
    std::string f;
    for (char c : e) {
      if (const uint8_t v = folded::fold(static_cast<uint8_t>(c))) f += static_cast<char>(v);
    }
    return f;
  };
  for (int i = 0; i < 30000; ++i) {
    std::string w;
    for (int n = 1 + static_cast<int>(random() % 6); n > 0; --n) {
      w += static_cast<char>((random() % 2 ? 'a' : 'A') + random() % 12);
      if (random() % 9 == 0) w += '-';
    }
    added.push_back(w);
    letters.insert(foldedLetters(w));
    list.add(w, "", "", 0);
    if ((i & (i + 1)) == 0 || i == 29999) {  // sizes 1, 3, 7, ... across every growth
      for (const std::string& e : added) ASSERT_TRUE(list.contains(e)) << e << " at " << i;
      for (int k = 0; k < 200; ++k) {
        std::string probe;
        for (int n = 1 + static_cast<int>(random() % 6); n > 0; --n) {
          probe += static_cast<char>('a' + random() % 13);
        }
        EXPECT_EQ(list.contains(probe), letters.count(foldedLetters(probe)) > 0) << probe;
      }
    }
  }
}

TEST(ResultList, SplittingTheFullBlockKeepsIndicesAndSelection) {
  ResultList list;
  list.setOrder(ResultOrder::Ascending, false);
  for (int i = 0; i < 511; ++i) {
    char w[8];
    std::snprintf(w, sizeof w, "b%c%c", 'a' + i / 26, 'a' + i % 26);
    list.add(w, "", "", 0);
  }
  ASSERT_EQ(list.blockCount(), 1);
  list.selection().setRange(300, 302, true);
  EXPECT_EQ(list.add("a", "", "", 0), 0);  // the 512th record: the block splits
  EXPECT_EQ(list.blockCount(), 2);
  EXPECT_EQ(list.blockSize(0), 256);
  EXPECT_EQ(list.blockSize(1), 256);
  EXPECT_EQ(list.selection().runs(), (std::vector<ResultSelection::Run>{{301, 3}}));
  EXPECT_EQ(list.record(0)->entry(), "a");
  EXPECT_EQ(list.record(256)->entry(), list.record(255 + 1)->entry());
  // An insertion inside a run makes it grow.
  list.add(std::string(list.record(302)->entry()) + "a", "", "", 0);
  EXPECT_EQ(list.selection().runs(), (std::vector<ResultSelection::Run>{{301, 4}}));
}

TEST(ResultList, TextJoinsItsPartsAndIsCutAt255) {
  ResultList list;
  list.add("tonight", " night owl", " +ht", 0);
  EXPECT_EQ(list.record(0)->text(), "tonight night owl +ht");
  EXPECT_EQ(list.record(0)->entry(), "tonight");
  list.add(std::string(300, 'a'), "x", "", 7);
  EXPECT_EQ(list.record(1)->text().size(), 255u);
  EXPECT_EQ(list.record(1)->entryLength, 255);
  EXPECT_EQ(list.record(1)->definitionNumber, 7);
}

TEST(ResultList, CopyBreaksLinesOnlyBetweenSeveralRecords) {
  ResultList list;
  for (const char* w : {"one", "two", "three", "four"}) list.add(w, "", "", 0);
  list.selection().selectOnly(1);
  EXPECT_EQ(list.selectedText(), "two");
  list.selection().setRange(1, 3, true);
  EXPECT_EQ(list.selectedText(), "two\r\nthree\r\nfour\r\n");
  EXPECT_EQ(list.selectedText("\n"), "two\nthree\nfour\n");
}

// A window repaints from the first row that may have moved: the lowest insertion since it last
// asked, whatever came after it, and everything after a clear.
TEST(ResultList, ChangesNameTheFirstMovedRowAndAClear) {
  ResultList list;
  list.setOrder(ResultOrder::Ascending, false);
  EXPECT_TRUE(list.takeChanges().cleared);
  for (const char* w : {"delta", "echo", "golf"}) list.add(w, "", "", 0);
  list.takeChanges();
  const ResultList::Changes none = list.takeChanges();
  EXPECT_FALSE(none.cleared);
  EXPECT_EQ(none.firstRow, 3);
  list.add("foxtrot", "", "", 0);  // row 2
  list.add("hotel", "", "", 0);    // row 4
  list.add("charlie", "", "", 0);  // row 0
  list.add("india", "", "", 0);    // row 6
  const ResultList::Changes changes = list.takeChanges();
  EXPECT_FALSE(changes.cleared);
  EXPECT_EQ(changes.firstRow, 0);
  list.add("juliet", "", "", 0);
  EXPECT_EQ(list.takeChanges().firstRow, 7);
  list.clear();
  list.add("alpha", "", "", 0);
  const ResultList::Changes cleared = list.takeChanges();
  EXPECT_TRUE(cleared.cleared);
  EXPECT_EQ(cleared.firstRow, 0);
}

TEST(ResultSelection, KeyboardAndMouseFollowTheListRules) {
  ResultSelection s;
  s.press(5, false, false, 100);
  s.release();
  EXPECT_EQ(s.runs(), (std::vector<ResultSelection::Run>{{5, 1}}));
  s.key(ResultSelection::Key::Down, true, false, 100, 10);
  s.key(ResultSelection::Key::Down, true, false, 100, 10);
  EXPECT_EQ(s.runs(), (std::vector<ResultSelection::Run>{{5, 3}}));
  s.shiftReleased();
  s.key(ResultSelection::Key::Down, false, true, 100, 10);
  s.key(ResultSelection::Key::Space, false, true, 100, 10);
  EXPECT_EQ(s.runs(), (std::vector<ResultSelection::Run>{{5, 4}}));
  EXPECT_EQ(s.selectedCount(), 4);
  s.key(ResultSelection::Key::Space, false, true, 100, 10);  // toggles row 8 off again
  EXPECT_EQ(s.selectedCount(), 3);
  s.key(ResultSelection::Key::PageDown, false, false, 100, 10);
  EXPECT_EQ(s.caret(), 17);
  s.key(ResultSelection::Key::End, false, false, 100, 10);
  EXPECT_EQ(s.runs(), (std::vector<ResultSelection::Run>{{99, 1}}));
  // Ctrl-drag over selected rows deselects them; the drag shows before it lands.
  s.selectAll(100);
  s.press(10, false, true, 100);
  s.dragTo(200, 100);
  EXPECT_EQ(s.caret(), 99);
  EXPECT_FALSE(s.isShownSelected(50));
  EXPECT_TRUE(s.isSelected(50));
  s.release();
  EXPECT_EQ(s.runs(), (std::vector<ResultSelection::Run>{{0, 10}}));
  // Shift-click after a plain click selects from the first row to the second.
  s.press(3, false, false, 100);
  s.release();
  s.shiftReleased();
  s.press(7, true, false, 100);
  s.release();
  EXPECT_EQ(s.runs(), (std::vector<ResultSelection::Run>{{3, 5}}));
  s.shiftReleased();
  s.selectAll(100);
  s.press(10, false, true, 100);
  s.release();
  EXPECT_EQ(s.selectedCount(), 99);
  s.selectOnly(-1);
  s.setRange(0, 9, true);
  // A right click on a selected row keeps the selection; on another row it selects that row.
  s.rightPress(3, false, false, 100);
  EXPECT_EQ(s.selectedCount(), 10);
  s.rightPress(40, false, false, 100);
  EXPECT_EQ(s.runs(), (std::vector<ResultSelection::Run>{{40, 1}}));
}

}  // namespace
}  // namespace qel
