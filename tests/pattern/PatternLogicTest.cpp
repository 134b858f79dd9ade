// Patterns joined by "&", "|", "!" and group brackets: the operation list a text gives and how
// it is evaluated (no precedence; groups; negation).
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "PatternTestSupport.h"
#include "pattern/MatchEngineSet.h"

namespace qel {
namespace {

std::vector<uint8_t> operationsOf(const std::string& text) {
  MatchEngineSet set;
  EXPECT_EQ(test::parseInto(set, text), 0) << text;
  std::vector<uint8_t> ops;
  for (size_t i = 0; i < set.slotCount(); ++i) ops.push_back(set.operation(i));
  return ops;
}

TEST(PatternLogic, OperationListsOfTexts) {
  EXPECT_EQ(operationsOf("(a|!b)&c"), (std::vector<uint8_t>{4, 1, 13, 2, 3}));
  EXPECT_EQ(operationsOf("!a"), (std::vector<uint8_t>{11}));
  EXPECT_EQ(operationsOf("!(a|b)"), (std::vector<uint8_t>{12, 1, 5, 3}));
  EXPECT_EQ(operationsOf("((a|b))|c"), (std::vector<uint8_t>{4, 4, 1, 5, 5, 1, 3}));
  EXPECT_EQ(operationsOf(";rebel(ada)"), (std::vector<uint8_t>{3}));  // a sub-pattern
  EXPECT_EQ(operationsOf(" ( a | b ) & c "), (std::vector<uint8_t>{4, 1, 5, 2, 3}));
}

// Patterns a, b and c are single letters; marking the slots of the true ones gives every
// combination.
TEST(PatternLogic, EvaluationHasNoPrecedenceAndHonoursGroups) {
  const struct {
    const char* text;
    std::function<bool(bool, bool, bool)> truth;
  } cases[] = {{"a & b | c", [](bool a, bool b, bool c) { return a && (b || c); }},
               {"a | b & c", [](bool a, bool b, bool c) { return a || (b && c); }},
               {"(a | !b) & c", [](bool a, bool b, bool c) { return (a || !b) && c; }},
               {"!(a | b) & c", [](bool a, bool b, bool c) { return !(a || b) && c; }},
               {"(a & b) | c", [](bool a, bool b, bool c) { return (a && b) || c; }},
               {"!(!(a) | b) | c", [](bool a, bool b, bool c) { return !(!a || b) || c; }}};
  for (const auto& c : cases) {
    MatchEngineSet set;
    ASSERT_EQ(test::parseInto(set, c.text), 0) << c.text;
    for (int bits = 0; bits < 8; ++bits) {
      std::vector<uint8_t> marked(set.slotCount(), 0);
      for (size_t slot = 0; slot < set.slotCount(); ++slot) {
        for (int k = 0; k < 3 && set.engine(slot); ++k) {
          const uint8_t letter[] = {static_cast<uint8_t>(k), 0xFF};
          if ((bits >> k & 1) && set.matchSlot(slot, letter, 1, "")) marked[slot] = 1;
        }
      }
      EXPECT_EQ(set.evaluateGathered(marked), c.truth(bits & 1, bits & 2, bits & 4))
          << c.text << " with a b c = " << (bits & 1) << (bits >> 1 & 1) << (bits >> 2 & 1);
    }
  }
}

TEST(PatternLogic, FullMatchesOfCombinedPatterns) {
  const struct {
    const char* text;
    const char* word;
    bool expected;
  } cases[] = {{";..oting & ! *ing", "costing", false}, {"!(c.. | d..)", "hog", true},
               {"!(c.. | d..)", "cog", false},          {"(c.. | d..) & *g", "dot", false},
               {"abc | abcdef", "abcd", false},         {";..oting & !.....ing", "tonight", true},
               {"abc | !abcde", "xyzzy", true},         {"abc | !abcde", "abcde", false}};
  for (const auto& c : cases)
    EXPECT_EQ(test::matches(c.text, c.word), c.expected) << c.text << " / " << c.word;
}

}  // namespace
}  // namespace qel
