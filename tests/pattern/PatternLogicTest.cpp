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
  EXPECT_EQ(operationsOf("a"), (std::vector<uint8_t>{3}));
  EXPECT_EQ(operationsOf("!a"), (std::vector<uint8_t>{11}));
  EXPECT_EQ(operationsOf("!(a|b)"), (std::vector<uint8_t>{12, 1, 5, 3}));
  EXPECT_EQ(operationsOf("((a|b))|c"), (std::vector<uint8_t>{4, 4, 1, 5, 5, 1, 3}));
  EXPECT_EQ(operationsOf(";rebel(ada)"), (std::vector<uint8_t>{3}));  // a sub-pattern
  EXPECT_EQ(operationsOf("!(ab)c"), (std::vector<uint8_t>{11}));
  EXPECT_EQ(operationsOf(" ( a | b ) & c "), (std::vector<uint8_t>{4, 1, 5, 2, 3}));
}

// Each pattern is one letter of its own; marking a slot makes that letter's pattern true.
TEST(PatternLogic, EvaluationHasNoPrecedenceAndHonoursGroups) {
  struct Case {
    const char* text;
    std::function<bool(bool, bool, bool)> truth;
  };
  const Case cases[] = {
      {"a & b | c", [](bool a, bool b, bool c) { return a && (b || c); }},
      {"a | b & c", [](bool a, bool b, bool c) { return a || (b && c); }},
      {"(a | !b) & c", [](bool a, bool b, bool c) { return (a || !b) && c; }},
      {"!(a | b) & c", [](bool a, bool b, bool c) { return !(a || b) && c; }},
      {"(a & b) | c", [](bool a, bool b, bool c) { return (a && b) || c; }},
      {"a & !b & !c", [](bool a, bool b, bool c) { return a && !b && !c; }},
      {"!(!(a) | b) | c", [](bool a, bool b, bool c) { return !(!a || b) || c; }},
      {"((a | b)) & c", [](bool a, bool b, bool c) { return (a || b) && c; }},
  };
  for (const Case& c : cases) {
    MatchEngineSet set;
    ASSERT_EQ(test::parseInto(set, c.text), 0) << c.text;
    for (int bits = 0; bits < 8; ++bits) {
      std::vector<uint8_t> marked(set.slotCount(), 0);
      const bool value[3] = {(bits & 1) != 0, (bits & 2) != 0, (bits & 4) != 0};
      for (size_t slot = 0; slot < set.slotCount(); ++slot) {
        const MatchEngine* engine = set.engine(slot);
        if (engine == nullptr) continue;
        for (int k = 0; k < 3; ++k) {
          const uint8_t letter[] = {static_cast<uint8_t>(k), 0xFF};
          if (value[k] && set.matchSlot(slot, letter, 1, "")) marked[slot] = 1;
        }
      }
      EXPECT_EQ(set.evaluateGathered(marked), c.truth(value[0], value[1], value[2]))
          << c.text << " with a=" << value[0] << " b=" << value[1] << " c=" << value[2];
    }
  }
}

TEST(PatternLogic, FullMatchesOfCombinedPatterns) {
  struct Case {
    const char* text;
    const char* word;
    bool expected;
  };
  const Case cases[] = {
      {";..oting & ! *ing", "tonight", true},
      {";..oting & ! *ing", "costing", false},
      {";..oting & ! *ing", "tossing", false},
      {"c.. | d..", "dog", true},
      {"c.. | d..", "hog", false},
      {"!(c.. | d..)", "hog", true},
      {"!(c.. | d..)", "cog", false},
      {"(c.. | d..) & *g", "dog", true},
      {"(c.. | d..) & *g", "dot", false},
      {"*s | m*", "moss", true},
      {"abc | abcdef", "abcdef", true},
      {"abc | abcdef", "abcd", false},
      {";..oting & !.....ing", "tonight", true},  // lengths the negated pattern cannot have
      {"abcde & !abcdef", "abcde", true},
      {"abc | !abcde", "xyzzy", true},
      {"abc | !abcde", "abcde", false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(test::matches(c.text, c.word), c.expected) << c.text << " / " << c.word;
}

}  // namespace
}  // namespace qel
