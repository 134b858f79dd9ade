// The builder's parts on their own: canonical letters, source lines, rich text, the prefix code
// and the letter-position score.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "maintenance/BuildAlphabet.h"
#include "maintenance/FoldTable.h"
#include "maintenance/LetterScores.h"
#include "maintenance/PrefixCode.h"
#include "maintenance/SourceLine.h"

namespace qel::build {
namespace {

TEST(BuildCanonicalLetters, ChainsEndAtZeroOrAtTheFirstRepeat) {
  ByteTable fold{};
  // A -> a -> a; B -> b -> 0; x -> y -> z -> y; 1 -> CR -> CR; LF and NUL -> a
  for (auto [from, to] : {std::pair<int, int>{'A', 'a'},
                          {'a', 'a'},
                          {'B', 'b'},
                          {'x', 'y'},
                          {'y', 'z'},
                          {'z', 'y'},
                          {'1', 13},
                          {13, 13},
                          {10, 'a'},
                          {0, 'a'}}) {
    fold[from] = static_cast<uint8_t>(to);
  }
  const ByteTable c = canonicalLetters(fold);
  const std::vector<std::pair<int, int>> expected = {{'A', 'a'}, {'a', 'a'}, {'B', 0},   {'b', 0},
                                                     {'x', 'y'}, {'y', 'y'}, {'z', 'z'}, {'1', 0},
                                                     {13, 0},    {10, 0},    {0, 0},     {'-', 0}};
  for (auto [byte, canonical] : expected) EXPECT_EQ(c[byte], canonical) << byte;
}

TEST(BuildAlphabetAnalysis, UsedLettersComeFirstAndMostFrequentFormRepresents) {
  ByteCounts frequency{};
  frequency['b'] = 5;
  frequency['B'] = 9;   // more often upper case
  frequency[0xE9] = 2;  // é ties with e: the first byte represents
  frequency['e'] = 2;
  const BuildAlphabet a = analyseAlphabet(canonicalLetters(lowerCaseFoldTable()), frequency);
  EXPECT_EQ(a.active, 2);
  EXPECT_EQ((std::vector<int>{a.letterIndex['B'], a.letterIndex[0xC9], a.letterIndex['a'],
                              a.letterIndex['c'], a.letterIndex['-']}),
            (std::vector<int>{0, 1, 2, 3, -1}));  // unused letters follow in byte order
  EXPECT_EQ(a.representative[0], 'B');
  EXPECT_EQ(a.representative[1], 'e');
  EXPECT_EQ(a.representative[2], 'A');  // unused: the first byte with the index
}

struct FieldCase {
  std::string text;
  int letters;
  char terminator;
  std::string tail;
};

struct LineCase {
  std::string line;
  std::vector<FieldCase> fields;
  bool hasBody;
  std::string body;
};

TEST(BuildSourceLine, SplitsFieldsWithEscapesAndAnnotations) {
  const std::vector<LineCase> cases = {
      {"cat", {{"cat", 3, 0, ""}}, false, ""},
      {"cat:dog;cow|body",
       {{"cat", 3, ':', ""}, {"dog", 3, ';', ""}, {"cow", 3, '|', ""}},
       true,
       "body"},
      {"a\\:b\\|c\\\\d|x", {{"a:b|c\\d", 4, '|', ""}}, true, "x"},
      {"run+v+verb+ignored:ran", {{"run\nv", 3, ':', "verb"}, {"ran", 3, 0, ""}}, false, ""},
      {"lemma++noun 1+;|gloss", {{"lemma", 5, ';', "noun 1"}, {"", 0, '|', ""}}, true, "gloss"},
      {"word+a\\+b", {{"word\na+b", 4, 0, ""}}, false, ""},
      {"word+", {{"word", 4, 0, ""}}, false, ""},
      {"it's o'clock+note", {{"it's o'clock\nnote", 9, 0, ""}}, false, ""},
      // the body is taken as it is: separators and backslashes stay
      {"x|a:b;c|d \\par\r\n", {{"x", 1, '|', ""}}, true, "a:b;c|d \\par"},
      {std::string("cut\0here|no", 11), {{"cut", 3, 0, ""}}, false, ""},
      {"trailing\\", {{"trailing", 8, 0, ""}}, false, ""},
  };
  const ByteTable canonical = canonicalLetters(lowerCaseFoldTable());
  SourceLine line;
  for (const LineCase& c : cases) {
    SCOPED_TRACE(c.line);
    line.parse(c.line, canonical);
    ASSERT_EQ(line.fields().size(), c.fields.size());
    for (size_t k = 0; k < c.fields.size(); ++k) {
      const SourceField& f = line.fields()[k];
      EXPECT_EQ(line.entryText(f), c.fields[k].text);
      EXPECT_EQ(f.letters, c.fields[k].letters);
      EXPECT_EQ(f.terminator, c.fields[k].terminator);
      EXPECT_EQ(line.tail(f), c.fields[k].tail);
    }
    EXPECT_EQ(line.hasBody(), c.hasBody);
    EXPECT_EQ(line.body(), c.body);
  }
}

TEST(BuildSourceLine, PassAndHeadingsFollowTheSemicolons) {
  const ByteTable canonical = canonicalLetters(lowerCaseFoldTable());
  SourceLine line;
  line.parse("head:alias;second;form1:form2|body", canonical);
  ASSERT_EQ(line.fields().size(), 5u);
  EXPECT_EQ(line.headingFieldCount(), 2u);  // up to the first ";"
  // Head words are the fields before the last ";": one of them kept puts it in pass 2.
  EXPECT_EQ(line.definitionPass({true, false, false, true, true}), 2);
  EXPECT_EQ(line.definitionPass({false, false, true, false, false}), 2);
  EXPECT_EQ(line.definitionPass({false, false, false, true, false}), 1);
  line.parse("a:b|body", canonical);
  EXPECT_EQ(line.headingFieldCount(), 2u);
  EXPECT_EQ(line.definitionPass({false, true}), 2);
}

TEST(BuildPrefixCode, IsCompleteAndPrefixFree) {
  std::mt19937 random(17);
  for (int round = 0; round < 50; ++round) {
    std::array<uint64_t, 256> frequency{};
    const int used = 2 + static_cast<int>(random() % 120);
    for (int i = 0; i < used; ++i)
      frequency[random() % 256] = 1 + random() % (round % 2 ? 5 : 100000);
    frequency[0] = std::max<uint64_t>(frequency[0], 1);
    const PrefixCode code = buildPrefixCode(frequency);
    ASSERT_TRUE(code.compressed);
    double kraft = 0;
    std::vector<std::pair<uint32_t, int>> codes;
    for (int i = 0; i < 256; ++i) {
      const SymbolCode& s = code.symbols[i];
      ASSERT_EQ(s.length > 0, frequency[i] > 0) << "symbol " << i;
      if (s.length == 0) continue;
      ASSERT_EQ(s.code >> s.length, 0u);
      kraft += std::ldexp(1.0, -s.length);
      codes.emplace_back(s.code, s.length);
    }
    EXPECT_DOUBLE_EQ(kraft, 1.0);
    for (const auto& [a, la] : codes) {
      for (const auto& [b, lb] : codes) {
        if (la < lb) {
          ASSERT_NE(b >> (lb - la), a) << "a code is the prefix of another";
        }
      }
    }
  }
}

TEST(BuildPrefixCode, FallsBackToEightBitCodesOnlyBeyondThirtyTwoBits) {
  // Fibonacci weights make the deepest possible tree: with k symbols the longest code has k-1 bits.
  for (const auto& [symbols, compressed] : {std::pair{33, true}, std::pair{34, false}}) {
    std::array<uint64_t, 256> frequency{};
    uint64_t a = 1, b = 1;
    for (int i = 0; i < symbols; ++i) {
      frequency['A' + i] = a;
      const uint64_t next = a + b;
      a = b;
      b = next;
    }
    const PrefixCode code = buildPrefixCode(frequency);
    EXPECT_EQ(code.compressed, compressed) << symbols << " symbols";
    if (compressed) {
      EXPECT_EQ(code.symbols['A'].length, 32);
      EXPECT_EQ(code.symbols[0].length, 0);
    } else {
      for (int i = 0; i < 256; ++i) {
        ASSERT_EQ(code.symbols[i].length, 8);
        ASSERT_EQ(code.symbols[i].code, static_cast<uint32_t>(i));
      }
    }
  }
}

TEST(BuildLetterScore, RoundsLog2HalfAwayFromZero) {
  EXPECT_EQ(letterScore(0, 10, 3), -128);
  EXPECT_EQ(letterScore(1, 1, 1), 0);
  EXPECT_EQ(letterScore(3, 4, 2), 1);     // log2 1.5 = 0.58
  EXPECT_EQ(letterScore(1, 3, 1), -2);    // log2 1/3 = -1.58
  EXPECT_EQ(letterScore(10, 12, 20), 4);  // log2 16.7 = 4.06
  EXPECT_EQ(letterScore(1, 1000000, 2), -19);
}

}  // namespace
}  // namespace qel::build
