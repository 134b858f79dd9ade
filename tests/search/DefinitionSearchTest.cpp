// Full-text searches over definitions written by our own builder, checked against a plain model of
// which words each record's text holds: the indexed and the sequential search must both give
// exactly the second-region records whose words satisfy the pattern set.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <regex>
#include <set>

#include "dictionary/Dictionary.h"
#include "dictionary/QCDictionaryList.h"
#include "pattern/MatchEngineSet.h"
#include "search/QCDictionaryDefinitionSearchIndexed.h"
#include "search/QCDictionaryDefinitionSearchSequential.h"
#include "support/TestDictionaries.h"

namespace qel {
namespace {

using Heads = std::set<std::string>;

const std::vector<std::string> kVocabulary = {
    "river", "delta", "mouth", "bank",  "money", "apple", "fruit", "tree",  "stone",
    "water", "ocean", "boat",  "par",   "ansi",  "swiss", "rtf",   "red",   "green",
    "blue",  "sea",   "sand",  "wind",  "rain",  "snow",  "ice",   "fire",  "gold",
    "iron",  "raven", "rover", "riser", "cafe",  "brook", "creek", "stream"};

struct Record {
  std::string head;  // first text of the record's first heading pair
  std::set<std::string> words;
  int pass = 2;
};

// Head words: "hq" and letters counting in base 26, unique per line.
std::string headWord(int n) {
  std::string s = "hq";
  do {
    s.push_back(static_cast<char>('a' + n % 26));
    n /= 26;
  } while (n > 0);
  return s;
}

std::string lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

// A source with pass-1 and pass-2 definitions, heading pairs, plain and rich bodies, several
// entries per line, vocabulary words that are entries themselves, a word in almost every body
// ("the") and runs of letters longer than a word can be. Every letter of the bodies also occurs
// in an entry.
struct Corpus {
  std::vector<std::string> lines;
  std::vector<Record> records;
};

Corpus makeCorpus(int count, unsigned seed) {
  std::mt19937 random(seed);
  auto pick = [&](size_t n) { return static_cast<size_t>(random() % n); };
  Corpus c;
  c.lines.push_back("abcdefghijklm:nopqrstuvwxyz|Every letter.");
  c.records.push_back({"abcdefghijklm", {"every", "letter"}, 2});
  for (int n = 0; n < count; ++n) {
    Record r;
    r.head = headWord(n);
    r.pass = pick(10) == 0 ? 1 : 2;
    std::vector<std::string> shown;  // body words as written
    if (pick(20) != 0) shown.push_back(pick(2) ? "the" : "The");
    const size_t words = 2 + pick(6);
    for (size_t k = 0; k < words; ++k) {
      std::string w = kVocabulary[pick(kVocabulary.size())];
      if (w == "cafe" && pick(2)) w = "caf\xE9";
      if (pick(4) == 0) w[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(w[0])));
      shown.push_back(w);
    }
    for (const std::string& w : shown) {
      std::string key = lower(w);
      if (key == "caf\xE9") key = "cafe";
      r.words.insert(key);
    }
    std::string body;
    if (pick(5) == 0) {
      body = "{\\rtf1\\ansi{\\fonttbl\\f0\\fswiss Swiss;}\\f0 ";
      for (size_t k = 0; k < shown.size(); ++k) {
        std::string w = shown[k];
        if (w == "caf\xE9") w = "caf\\'e9";
        body += k % 3 == 1 ? "{\\b " + w + "}" : w;
        body += k + 1 < shown.size() ? (k % 2 ? " \\par " : ", ") : "}";
      }
    } else {
      static const char* separators[] = {" ", ", ", "-", "; ", ". ", " (", ") "};
      for (size_t k = 0; k < shown.size(); ++k) {
        if (k > 0) body += separators[pick(7)];
        body += shown[k];
      }
      if (pick(8) == 0) {
        // 32 letters make a word that nothing matches; the letters after it are the next word.
        body += " " + std::string(32, 'z') + "delta";
        r.words.insert("delta");
      }
      body += ".";
    }
    std::string entries;
    if (r.pass == 1) {
      entries = ";" + r.head;  // no kept entry before the ";": the record goes to region 1
    } else if (pick(3) == 0) {
      entries = r.head + "++" + std::to_string(n) + "+:" + headWord(n + 100000) + ";" +
                headWord(n + 200000);
    } else {
      entries = r.head;
    }
    // Some vocabulary words are entries too, so their occurrences hang on the entry.
    if (n % 7 == 0) entries += ":" + kVocabulary[n % kVocabulary.size()];
    c.lines.push_back(entries + "|" + body);
    c.records.push_back(r);
  }
  return c;
}

// The pattern language reduced to what the model needs: letters, "." (one letter), "*" (any
// letters) and choice lists, joined by "&", "|", "!" and brackets. An operator applies to what
// stands before it and everything after it in the same group.
class Model {
 public:
  explicit Model(const std::vector<Record>& records) : m_records(records) {}

  Heads find(const std::string& pattern) const {
    Heads heads;
    for (const Record& r : m_records) {
      size_t at = 0;
      if (r.pass == 2 && expression(pattern, at, r.words)) heads.insert(r.head);
    }
    return heads;
  }

 private:
  static void skipBlanks(const std::string& p, size_t& at) {
    while (at < p.size() && p[at] == ' ') ++at;
  }

  bool expression(const std::string& p, size_t& at, const std::set<std::string>& words) const {
    const bool left = term(p, at, words);
    skipBlanks(p, at);
    if (at < p.size() && (p[at] == '&' || p[at] == '|')) {
      const char op = p[at++];
      const bool right = expression(p, at, words);
      return op == '&' ? left && right : left || right;
    }
    return left;
  }

  bool term(const std::string& p, size_t& at, const std::set<std::string>& words) const {
    skipBlanks(p, at);
    if (p[at] == '!') return !term(p, ++at, words);
    if (p[at] == '(') {
      const bool inner = expression(p, ++at, words);
      skipBlanks(p, at);
      ++at;  // ")"
      return inner;
    }
    const size_t start = at;
    while (at < p.size() && std::string("&|() ").find(p[at]) == std::string::npos) ++at;
    const std::set<std::string>& matching = matchingWords(p.substr(start, at - start));
    for (const std::string& w : words) {
      if (matching.count(w)) return true;
    }
    return false;
  }

  // The words of all records that one template matches, worked out once per template.
  const std::set<std::string>& matchingWords(const std::string& operand) const {
    auto [it, added] = m_matching.try_emplace(operand);
    if (!added) return it->second;
    std::string regex;
    for (char c : operand) {
      regex += c == '.'   ? std::string("[a-z]")
               : c == '*' ? std::string("[a-z]*")
                          : std::string(1, static_cast<char>(std::tolower(c)));
    }
    const std::regex re(regex);
    for (const Record& r : m_records) {
      for (const std::string& w : r.words) {
        if (w.size() <= 31 && std::regex_match(w, re)) it->second.insert(w);
      }
    }
    return it->second;
  }

  const std::vector<Record>& m_records;
  mutable std::map<std::string, std::set<std::string>> m_matching;
};

Heads sequentialHeads(const QCDictionaryList& list, MatchEngineSet& patterns) {
  Heads heads;
  QCDictionaryDefinitionSearchSequential search(list, 0, patterns);
  for (int rounds = 0; rounds < 100000; ++rounds) {
    const auto step = search.next(7);
    if (step == QCDictionaryDefinitionSearchSequential::Step::Finished) return heads;
    if (step == QCDictionaryDefinitionSearchSequential::Step::Hit) heads.insert(search.heading());
  }
  ADD_FAILURE() << "the sequential search did not finish";
  return heads;
}

// Heads found through the index, or nullopt when the index cannot answer.
std::optional<Heads> indexedHeads(const QCDictionaryList& list, MatchEngineSet& patterns) {
  QCDictionaryDefinitionSearchIndexed search(list, 0, patterns);
  if (!search.usable()) return std::nullopt;
  Heads heads;
  Definition d;
  uint32_t previous = 0;
  while (search.next(d)) {
    EXPECT_GT(d.recordOffset, previous);  // file order, each record once
    previous = d.recordOffset;
    heads.insert(d.firstTexts.empty() ? std::string() : d.firstTexts[0]);
  }
  EXPECT_EQ(search.position(), search.total());
  return heads;
}

class DefinitionSearch : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    s_dir = new test::TempDir;
    s_corpus = new Corpus(makeCorpus(400, 11));
    test::BuildOptions listed;
    ASSERT_TRUE(test::buildTestDictionary(s_dir->file("listed.qcd"), s_corpus->lines, listed));
    test::BuildOptions common;
    common.common = 50;
    ASSERT_TRUE(test::buildTestDictionary(s_dir->file("common.qcd"), s_corpus->lines, common));
  }
  static void TearDownTestSuite() {
    delete s_corpus;
    delete s_dir;
  }

  static test::TempDir* s_dir;
  static Corpus* s_corpus;
};

test::TempDir* DefinitionSearch::s_dir = nullptr;
Corpus* DefinitionSearch::s_corpus = nullptr;

struct Outcome {
  Heads sequential;
  std::optional<Heads> indexed;
};

Outcome searchBoth(const std::string& path, const std::string& pattern) {
  QCDictionaryList list(path);
  MatchEngineSet patterns;
  EXPECT_EQ(patterns.parse(list.alphabet(0), pattern, 1, 31), pattern::PatternError::kValid)
      << pattern;
  Outcome o;
  o.sequential = sequentialHeads(list, patterns);
  o.indexed = indexedHeads(list, patterns);
  return o;
}

TEST_F(DefinitionSearch, BothSearchesFindExactlyTheRecordsWhoseWordsMatch) {
  const Model model(s_corpus->records);
  const char* patterns[] = {
      "river",
      "River",
      "r...r",
      "cafe",
      "caf.",
      "delta",
      "par",
      "swiss",
      "ansi",
      "rtf",
      "river & mouth",
      "river | mouth",
      "sea & sand | snow",
      "(sea & sand) | snow",
      "sea & (sand | snow)",
      "(r.v.r | brook) & (gold | iron)",
      "...",
      "stream & creek & brook",
      "nobody",
      "zzzzz",
      "every & letter",
      "((raven))",
      "hq.",
      "tree | (fire & ice) | gold",
  };
  int indexed = 0;
  for (const char* pattern : patterns) {
    const Heads expected = model.find(pattern);
    const Outcome o = searchBoth(s_dir->file("listed.qcd"), pattern);
    EXPECT_EQ(o.sequential, expected) << pattern;
    ASSERT_TRUE(o.indexed.has_value()) << pattern;
    EXPECT_EQ(*o.indexed, expected) << pattern;
    indexed += o.indexed.has_value();
  }
  // Words of the font table and control words are no text of a rich body.
  EXPECT_TRUE(model.find("swiss").size() < s_corpus->records.size() / 4);
}

TEST_F(DefinitionSearch, PatternsTheIndexCannotAnswerAreSearchedByReading) {
  const Model model(s_corpus->records);
  for (const char* pattern : {"!river", "river & !mouth", "!(sea | sand)", "riv*", "*e*", "r*r"}) {
    const Outcome o = searchBoth(s_dir->file("listed.qcd"), pattern);
    EXPECT_FALSE(o.indexed.has_value()) << pattern;
    EXPECT_EQ(o.sequential, model.find(pattern)) << pattern;
  }
  // A word found in nearly every definition has no list; the index gives way for it.
  for (const char* pattern : {"the", "river & the", "t.e"}) {
    const Outcome o = searchBoth(s_dir->file("common.qcd"), pattern);
    EXPECT_FALSE(o.indexed.has_value()) << pattern;
    EXPECT_EQ(o.sequential, model.find(pattern)) << pattern;
  }
  const Outcome o = searchBoth(s_dir->file("common.qcd"), "river & gold");
  ASSERT_TRUE(o.indexed.has_value());
  EXPECT_EQ(*o.indexed, model.find("river & gold"));
}

// Random sets of templates over the vocabulary, with random operators and brackets: wherever the
// index answers it agrees with reading, and reading agrees with the model.
TEST_F(DefinitionSearch, IndexedAndSequentialAgreeOverManyPatterns) {
  const Model model(s_corpus->records);
  std::mt19937 random(5);
  auto pick = [&](size_t n) { return static_cast<size_t>(random() % n); };
  auto operand = [&] {
    std::string w = kVocabulary[pick(kVocabulary.size())];
    for (char& c : w) {
      if (pick(4) == 0) c = '.';
    }
    if (pick(12) == 0) w = "!" + w;
    return w;
  };
  int answered = 0;
  for (int round = 0; round < 150; ++round) {
    std::string pattern = operand();
    const size_t more = pick(4);
    for (size_t k = 0; k < more; ++k) {
      pattern += pick(2) ? " & " : " | ";
      if (pick(3) == 0) {
        pattern += "(" + operand() + (pick(2) ? " | " : " & ") + operand() + ")";
      } else {
        pattern += operand();
      }
    }
    const Outcome o = searchBoth(s_dir->file("listed.qcd"), pattern);
    const Heads expected = model.find(pattern);
    EXPECT_EQ(o.sequential, expected) << pattern;
    if (o.indexed) {
      ++answered;
      EXPECT_EQ(*o.indexed, expected) << pattern;
    }
  }
  EXPECT_GT(answered, 100);
}

TEST_F(DefinitionSearch, SequentialSearchWorksInSlicesAndReportsItsProgress) {
  QCDictionaryList list(s_dir->file("listed.qcd"));
  MatchEngineSet patterns;
  ASSERT_EQ(patterns.parse(list.alphabet(0), "river", 1, 31), pattern::PatternError::kValid);
  int64_t stamp = 0;
  QCDictionaryDefinitionSearchSequential search(list, 0, patterns, &stamp);
  EXPECT_EQ(stamp, list.dictionary(0).fileTime());
  const Dictionary& d = list.dictionary(0);
  EXPECT_EQ(search.total(), d.definitionsEnd() - d.region2Start());
  uint64_t last = 0;
  int hits = 0, used = 0;
  uint32_t lastHit = 0;
  for (;;) {
    const auto step = search.next(1);
    EXPECT_GE(search.position(), last);
    last = search.position();
    if (step == QCDictionaryDefinitionSearchSequential::Step::Finished) break;
    if (step == QCDictionaryDefinitionSearchSequential::Step::BudgetUsed) ++used;
    if (step == QCDictionaryDefinitionSearchSequential::Step::Hit) {
      ++hits;
      EXPECT_GT(search.recordOffset(), lastHit);
      EXPECT_GE(search.recordOffset(), d.region2Start());
      lastHit = search.recordOffset();
    }
  }
  EXPECT_EQ(search.position(), search.total());
  EXPECT_EQ(hits, static_cast<int>(Model(s_corpus->records).find("river").size()));
  EXPECT_GT(used, hits);
  EXPECT_TRUE(search.heading().empty());
  EXPECT_EQ(search.next(10), QCDictionaryDefinitionSearchSequential::Step::Finished);
}

TEST_F(DefinitionSearch, HeadingsAreCutTo49CharactersAndRegionOneStaysUnsearched) {
  test::TempDir dir;
  const std::string path = dir.file("headings.qcd");
  const std::string longHead = "a-b-c-d-e-f-g-h-i-j-k-l-m-n-o-p-q-r-s-t-u-v-w-x-y-z";  // 51
  const std::string longSecond(60, 'q');
  ASSERT_TRUE(
      test::buildTestDictionary(path, {longHead + "++" + longSecond + "+|A river.",
                                       ";unseen|A river too.", "seen:delta;unseen|Nothing here."}));
  QCDictionaryList list(path);
  MatchEngineSet patterns;
  ASSERT_EQ(patterns.parse(list.alphabet(0), "river", 1, 31), pattern::PatternError::kValid);
  QCDictionaryDefinitionSearchSequential search(list, 0, patterns);
  ASSERT_EQ(search.next(100), QCDictionaryDefinitionSearchSequential::Step::Hit);
  EXPECT_EQ(search.heading(), longHead.substr(0, 49));
  EXPECT_EQ(search.secondHeading(), longSecond.substr(0, 49));
  EXPECT_EQ(search.next(100), QCDictionaryDefinitionSearchSequential::Step::Finished);

  QCDictionaryDefinitionSearchIndexed indexed(list, 0, patterns);
  ASSERT_TRUE(indexed.usable());
  Definition d;
  ASSERT_TRUE(indexed.next(d));
  EXPECT_EQ(d.firstTexts[0], longHead);  // the record itself is read whole
  EXPECT_EQ(d.body, "A river.");
  EXPECT_FALSE(indexed.next(d));
}

// A region larger than the read buffer: records that cross the buffer's end are read whole.
TEST_F(DefinitionSearch, RegionLargerThanTheBufferIsReadWhole) {
  test::TempDir dir;
  const std::string path = dir.file("large.qcd");
  std::vector<std::string> lines = {"abcdefghijklm:nopqrstuvwxyz|Every letter.", "delta|A mouth."};
  Heads expected;
  std::string filler;
  while (filler.size() < 700) filler += "stone water green ";
  for (int n = 0; n < 600; ++n) {
    const std::string head = headWord(n);
    const bool both = n % 7 != 3;
    // Words at both ends of the body: a body that crosses the buffer's end must be read whole.
    const std::string body = std::string(both ? "delta " : "brook ") +
                             filler.substr(0, 400 + (n * 37) % 300) + " river" +
                             (n % 2 ? " end." : "");
    lines.push_back(head + "++" + std::string(n % 60, 'x') + "+|" + body);
    if (both) expected.insert(head);
  }
  ASSERT_TRUE(test::buildTestDictionary(path, lines));
  QCDictionaryList list(path);
  ASSERT_GT(list.dictionary(0).definitionsEnd() - list.dictionary(0).region2Start(),
            QCDictionaryDefinitionSearchSequential::kBufferSize);
  MatchEngineSet patterns;
  ASSERT_EQ(patterns.parse(list.alphabet(0), "delta & river", 1, 31),
            pattern::PatternError::kValid);
  EXPECT_EQ(sequentialHeads(list, patterns), expected);
  EXPECT_EQ(indexedHeads(list, patterns), expected);
}

TEST_F(DefinitionSearch, DictionariesWithoutDefinitionsOrFilesFindNothing) {
  test::TempDir dir;
  const std::string path = dir.file("plain.qcd");
  ASSERT_TRUE(test::buildTestDictionary(path, {"river", "delta"}));
  for (const std::string& p : {path, dir.file("missing.qcd")}) {
    QCDictionaryList list(p);
    MatchEngineSet patterns;
    patterns.parse(list.alphabet(0), "river", 1, 31);
    int64_t stamp = -1;
    QCDictionaryDefinitionSearchSequential sequential(list, 0, patterns, &stamp);
    EXPECT_EQ(sequential.next(5), QCDictionaryDefinitionSearchSequential::Step::Finished) << p;
    EXPECT_EQ(sequential.total(), 0u);
    QCDictionaryDefinitionSearchIndexed indexed(list, 0, patterns);
    Definition d;
    EXPECT_FALSE(indexed.next(d)) << p;
  }
}

}  // namespace
}  // namespace qel
