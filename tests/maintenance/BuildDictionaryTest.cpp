// Whole builds, read back: header, entry streams, definition records, reference tables and index
// terms, and every way a build can fail.
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <iostream>
#include <thread>

#include "BuildTestSupport.h"
#include "dictionary/FileFormat.h"
#include "support/TestDictionaries.h"

namespace qel::buildtest {
namespace {

using Texts = std::vector<std::string>;
constexpr uint32_t kLast = format::kLastValueBit;

// The names in the folder of `path`, sorted.
// The files beside `path`.
Texts folderContents(const std::string& path) {
  return test::folderContents(std::filesystem::path(path).parent_path());
}

TEST(BuildDictionaryFile, HeaderReadsBackWithEmptyLengthsPointingAhead) {
  const std::string path = temporaryPath("header");
  MemorySource source({"ab", "Ab", "abc", "xyzzy", "ab-c"});
  BuildParameters p = parameters(path);
  p.description = std::string(1200, 'd');
  ASSERT_TRUE(buildDictionary(source, p)) << testing::PrintToString(source.errors);
  EXPECT_EQ(source.infos, (Texts{"Alphabet analysis completed OK - compressing\n",
                                 "Frequency analysis completed OK\n", "2 letter words handled OK\n",
                                 "3 letter words handled OK\n", "5 letter words handled OK\n"}));

  WrittenFile f(path);
  const Dictionary& d = f.reader;
  EXPECT_EQ(f.bytes.substr(0, 4), "QCD1");
  ASSERT_EQ(d.slotCount(), 6);
  EXPECT_EQ(std::vector<uint32_t>(d.entryCount().begin(), d.entryCount().begin() + 6),
            (std::vector<uint32_t>{0, 0, 2, 2, 0, 1}));
  const auto& section = d.sectionOffset();
  EXPECT_EQ(section[0], 0u);
  EXPECT_EQ(section[1], section[2]);
  EXPECT_LT(section[2], section[3]);
  EXPECT_LT(section[3], section[4]);
  EXPECT_EQ(section[4], section[5]);
  EXPECT_LT(section[5], f.bytes.size());
  EXPECT_EQ(d.description(), std::string(999, 'd'));
  // No definitions: empty regions, no reference tables.
  EXPECT_EQ(d.region1Start(), d.definitionsEnd());
  EXPECT_EQ(d.entryReferenceCount(), Dictionary::Table{});
  EXPECT_EQ(d.indexTableOffset(), Dictionary::Table{});
  // a b c x y z are used; the other 24 letters of the fold table follow.
  EXPECT_EQ(d.alphabet().active, 6);
  EXPECT_EQ(d.alphabet().total, 30);
  EXPECT_EQ(d.alphabet().letterIndex['A'], d.alphabet().letterIndex['a']);
  EXPECT_EQ(d.alphabet().canonical['A'], 'a');

  std::vector<bool> flags;
  EXPECT_EQ(f.entries(3), (Texts{"ab-c", "abc"}));
  EXPECT_EQ(f.entries(2, &flags), (Texts{"Ab", "ab"}));
  EXPECT_EQ(flags, (std::vector<bool>{false, false}));
  EXPECT_TRUE(f.entries(4).empty());
}

TEST(BuildDictionaryFile, EntriesComeInWordListOrderOnceEach) {
  const std::string path = temporaryPath("order");
  MemorySource source(
      {"cat", "c-at", "Cat", "act", "cat+pet", "cat", "CAT:tac", "c\xE0t", "toolongforthis", "x"});
  BuildParameters p = parameters(path);
  p.shortest = 2;
  p.longest = 3;
  ASSERT_TRUE(buildDictionary(source, p));
  WrittenFile f(path);
  ASSERT_EQ(f.reader.slotCount(), 4);
  EXPECT_EQ(f.entries(3), (Texts{"act", "CAT", "Cat", "c-at", "cat", "c\xE0t", "cat\npet", "tac"}));
  EXPECT_EQ(f.reader.entryCount()[3], 8u);

  // Letter-position scores: at position 0 "c" starts 6 of the 8 entries, "a" and "t" one each.
  const Alphabet& a = f.reader.alphabet();
  EXPECT_EQ(f.reader.score(3, 0, a.letterIndex['c']), 1);     // log2(6*3/8) = 1.2
  EXPECT_EQ(f.reader.score(3, 0, a.letterIndex['t']), -1);    // log2(1*3/8) = -1.4
  EXPECT_EQ(f.reader.score(3, 1, a.letterIndex['c']), -2);    // log2(1*2/8)
  EXPECT_EQ(f.reader.score(3, 0, a.letterIndex['p']), -128);  // "p" is only in an annotation
}

// A small dictionary with definitions in both regions and a full-text index.
class BuildDefinitions : public testing::Test {
 protected:
  void SetUp() override {
    const std::string path = temporaryPath("definitions");
    MemorySource source({
        "cat+n+noun:puss;feline|A small domesticated feline animal",
        "thisentryiswaymuchtoolongtobekept;kitty|Young cat",  // no head word kept: region 1
        "dog|The animal that barks at a cat",
        "mouse",
        "Dog++verb;hound|{\\rtf1{\\fonttbl{\\f0 Times;}}To follow a \\b small\\b0  animal}",
    });
    ASSERT_TRUE(buildDictionary(source, parameters(path))) << testing::PrintToString(source.errors);
    file = std::make_unique<WrittenFile>(path);
    // Records in file order: "Young cat"; then region 2: the cat, dog and Dog lines.
    for (uint32_t at = file->reader.region1Start(); at < file->reader.definitionsEnd();) {
      records.push_back(at);
      const Record r = file->record(at);
      at += 1 + r.body.size() + 1;
      for (const auto& [first, second] : r.pairs) at += first.size() + second.size() + 2;
    }
  }

  std::vector<uint32_t> referenceTable(int length) {
    const Dictionary& d = file->reader;
    return file->u32s(d.entryReferenceOffset()[length], d.entryReferenceCount()[length]);
  }

  std::unique_ptr<WrittenFile> file;
  std::vector<uint32_t> records;
};

TEST_F(BuildDefinitions, RecordsGoToTheirRegionsWithHeadings) {
  ASSERT_EQ(records.size(), 4u);
  EXPECT_EQ(records[1], file->reader.region2Start());
  using Pairs = std::vector<std::pair<std::string, std::string>>;
  EXPECT_EQ(file->record(records[0]).pairs, Pairs{});
  EXPECT_EQ(file->record(records[0]).body, "Young cat");
  EXPECT_EQ(file->record(records[1]).pairs, (Pairs{{"cat", "noun"}, {"puss", ""}}));
  EXPECT_EQ(file->record(records[1]).body, "A small domesticated feline animal");
  EXPECT_EQ(file->record(records[2]).pairs, (Pairs{{"dog", ""}}));
  EXPECT_EQ(file->record(records[3]).pairs, (Pairs{{"Dog", "verb"}}));
}

TEST_F(BuildDefinitions, EntriesPointAtTheirRecordsAndTheirWordsOccurrences) {
  std::vector<bool> flags;
  // Equal folded letters: bytes decide, "D" before "d".
  EXPECT_EQ(file->entries(3, &flags), (Texts{"cat\nn", "Dog", "dog"}));
  EXPECT_EQ(flags, (std::vector<bool>{true, true, true}));
  // "cat": its record, then the list of the indexed records that use the word (the region 1 record
  // "Young cat" is not indexed); the others: their records only ("dog" occurs in no body).
  const auto three = referenceTable(3);
  ASSERT_EQ(three.size(), 4u);
  EXPECT_EQ(three[0], records[1]);
  EXPECT_EQ(file->referenceList(three[1] & ~kLast), std::vector<uint32_t>{records[2]});
  EXPECT_EQ(three[1] & kLast, kLast);
  EXPECT_EQ(three[2], records[3] | kLast);
  EXPECT_EQ(three[3], records[2] | kLast);

  flags.clear();
  EXPECT_EQ(file->entries(5, &flags), (Texts{"hound", "kitty", "mouse"}));
  EXPECT_EQ(flags, (std::vector<bool>{true, true, false}));  // "mouse" had no body
  EXPECT_EQ(referenceTable(5), (std::vector<uint32_t>{records[3] | kLast, records[0] | kLast}));
}

TEST_F(BuildDefinitions, WordsNoEntryCarriesBecomeIndexTerms) {
  // "cat" and "feline" are carried by their entries; "a", "at" and "to" have lengths without
  // entries; the rich text's font name "Times" is not a word of its text. "barks" and "follow"
  // need letters that no entry has ("b", "r", "w"): those get codes of their own, in the first
  // form of the letter in byte order.
  const std::vector<Texts> expected = {{"the"}, {"that"}, {"BaRks", "small"}, {"animal", "folloW"}};
  for (int length = 3; length <= 6; ++length) EXPECT_EQ(file->terms(length), expected[length - 3]);
  EXPECT_EQ(file->reader.indexTableOffset()[2], 0u);
  const uint32_t small = file->u32(file->reader.indexTableOffset()[5] + 4);
  EXPECT_EQ(file->referenceList(small), (std::vector<uint32_t>{records[1], records[3]}));
}

TEST(BuildDictionaryFile, CommonWordsLoseTheirListsAboveThePercentage) {
  Texts lines;
  for (int i = 0; i < 150; ++i) {
    lines.push_back("w" + std::string(1, 'a' + i % 26) + std::string(1, 'a' + i / 26) +
                    "|so common a word");
  }
  lines.push_back("common");
  for (const auto& [percentage, listed] : {std::pair{0, true}, {100, true}, {50, false}}) {
    SCOPED_TRACE(percentage);
    const std::string path = temporaryPath("common");
    MemorySource source(lines);
    BuildParameters p = parameters(path);
    p.commonWordPercentage = percentage;
    ASSERT_TRUE(buildDictionary(source, p));
    WrittenFile f(path);
    ASSERT_EQ(f.entries(6), Texts{"common"});
    const uint32_t value = f.u32(f.reader.entryReferenceOffset()[6]);
    ASSERT_EQ(value & kLast, kLast);
    if (listed) {
      EXPECT_EQ(f.referenceList(value & ~kLast).size(), 150u);
    } else {
      EXPECT_EQ(value & ~kLast, format::kNotListed);
    }
  }
}

TEST(BuildDictionaryFile, OverlongEntriesAreReportedAndLeftOut) {
  const std::string path = temporaryPath("overlong");
  MemorySource source({"short+" + std::string(891, 'n'), "long+" + std::string(893, 'n')});
  ASSERT_TRUE(buildDictionary(source, parameters(path)));
  EXPECT_EQ(source.errors, Texts{"Entry too long - left out: long\n"});
  WrittenFile f(path);
  EXPECT_EQ(f.entries(5), Texts{"short\n" + std::string(891, 'n')});
  EXPECT_EQ(f.reader.entryCount()[4], 0u);
}

// An entry no section can hold (over 31 letters) is reported with its line; one outside the
// length range asked for is left out quietly.
TEST(BuildDictionaryFile, EntriesOfMoreThan31LettersAreReportedByLine) {
  const std::string letters31(31, 'n'), letters32(32, 'n'), letters40(40, 'p');
  struct Case {
    int longest;
    Texts errors;
    std::vector<uint32_t> counts;  // entries of lengths 2, 20 and 31
  };
  for (const Case& c :
       {Case{31,
             {"line 3: an entry of more than 31 letters - left out: " + letters32 + "\n",
              "line 5: an entry of more than 31 letters - left out: x-" + letters40 + "\n"},
             {2, 1, 1}},
        Case{10,
             {"line 3: an entry of more than 31 letters - left out: " + letters32 + "\n",
              "line 5: an entry of more than 31 letters - left out: x-" + letters40 + "\n"},
             {2, 0, 0}}}) {
    SCOPED_TRACE(c.longest);
    const std::string path = temporaryPath("over31");
    MemorySource source(
        {"ab", letters31, letters32, std::string(20, 't'), "ok:x-" + letters40 + "|body"});
    BuildParameters p = parameters(path);
    p.longest = c.longest;
    ASSERT_TRUE(buildDictionary(source, p));
    EXPECT_EQ(source.errors, c.errors);
    WrittenFile f(path);
    const auto count = [&](int length) {
      return length < f.reader.slotCount() ? f.reader.entryCount()[length] : 0u;
    };
    EXPECT_EQ((std::vector<uint32_t>{count(2), count(20), count(31)}), c.counts);
  }
}

TEST(BuildDictionaryFile, DescriptionLongerThanItsFieldIsCutWithAWarning) {
  const std::string warning = "Description longer than 999 characters - cut to that length\n";
  for (const auto& [length, warned] :
       {std::pair{size_t{999}, false}, {size_t{1000}, true}, {size_t{5000}, true}}) {
    SCOPED_TRACE(length);
    const std::string path = temporaryPath("description");
    MemorySource source({"word"});
    BuildParameters p = parameters(path);
    p.description = std::string(length, 'd');
    ASSERT_TRUE(buildDictionary(source, p));
    EXPECT_EQ(source.errors, warned ? Texts{warning} : Texts{});
    EXPECT_EQ(WrittenFile(path).reader.description(),
              std::string(std::min<size_t>(length, 999), 'd'));
  }
}

TEST(BuildDictionaryFile, ProgressLinesComeEvery64LinesAfterHalfASecond) {
  Texts lines;
  for (int i = 1; i <= 200; ++i) lines.push_back("w" + std::to_string(i) + "x;y");
  MemorySource source(lines);
  source.onLine = [](int read, long count) {
    if (read == 1 && count == 100) std::this_thread::sleep_for(std::chrono::milliseconds(550));
  };
  ASSERT_TRUE(buildDictionary(source, parameters(temporaryPath("progress"))));
  Texts progress;
  std::copy_if(source.infos.begin(), source.infos.end(), std::back_inserter(progress),
               [](const auto& s) { return s.starts_with("Calibrating"); });
  EXPECT_EQ(progress, Texts{"Calibrating dictionary - w128x\n"});
}

TEST(BuildDictionaryFailure, NothingInRangeIsReportedAndWritesNothing) {
  const std::string path = temporaryPath("empty");
  MemorySource source({"ab", "", "---", "abcdefgh|too long"});
  BuildParameters p = parameters(path);
  p.shortest = 3;
  p.longest = 7;
  EXPECT_FALSE(buildDictionary(source, p));
  EXPECT_EQ(source.errors, Texts{"No entries to process - check input file and length range\n"});
  EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(BuildDictionaryFailure, AbandonmentAtAnyStageKeepsThePreviousFile) {
  struct Stage {
    const char* name;
    int read;        // read of the source in which to abandon (0: none)
    long stopEntry;  // entry at which keepGoing answers false (-1: none)
  };
  for (const Stage& stage :
       {Stage{"calibration", 1, -1}, Stage{"definitions", 2, -1}, Stage{"sections", 0, 2}}) {
    SCOPED_TRACE(stage.name);
    test::TempDir dir;
    const std::string path = dir.file("abandoned.qcd");
    MemorySource previous({"previous|edition"});
    ASSERT_TRUE(buildDictionary(previous, parameters(path)));
    const std::string before = readFile(path);
    MemorySource source({"one|first", "two", "three|third"});
    source.abandonInRead = stage.read;
    source.abandonAtLine = 2;
    source.stopAtEntry = stage.stopEntry;
    EXPECT_FALSE(buildDictionary(source, parameters(path)));
    EXPECT_EQ(source.errors, Texts{"Dictionary creation abandoned\n"});
    EXPECT_EQ(readFile(path), before);
    EXPECT_EQ(folderContents(path), Texts{"abandoned.qcd"});
  }
}

TEST(BuildDictionaryFailure, UnopenableOutputIsReportedWithTheReason) {
  const std::string missing = temporaryPath("no-such-folder") + "/x.qcd";
  for (const auto& [path, error] :
       {std::pair{missing, "Couldn't open \"" + missing + "\" - No such file or directory\n"},
        {"/dev/full", std::string("Couldn't open \"/dev/full\" - not a regular file\n")}}) {
    MemorySource source({"word", "other|with a definition"});
    EXPECT_FALSE(buildDictionary(source, parameters(path)));
    EXPECT_EQ(source.errors, Texts{error});
  }
}

// A 512 KB file system mounted for the test, when the process may mount one.
class SmallFileSystem {
 public:
  SmallFileSystem() {
    std::string pattern = (std::filesystem::temp_directory_path() / "qel-tmpfs-XXXXXX").string();
    if (geteuid() != 0 || mkdtemp(pattern.data()) == nullptr) return;
    m_folder = pattern;
    m_mounted = mount("tmpfs", m_folder.c_str(), "tmpfs", 0, "size=512k") == 0;
  }
  ~SmallFileSystem() {
    if (m_mounted) umount2(m_folder.c_str(), MNT_DETACH);
    if (!m_folder.empty()) rmdir(m_folder.c_str());
  }
  bool mounted() const { return m_mounted; }
  const std::string& folder() const { return m_folder; }

 private:
  std::string m_folder;
  bool m_mounted = false;
};

// Writes stop part of the way through the new file, on a full file system and at a file size
// limit: the dictionary already there keeps every byte, and no part-written file is left.
TEST(BuildDictionaryFailure, FullDiskKeepsThePreviousDictionaryByteForByte) {
  Texts lines;
  for (int i = 0; i < 30000; ++i) {
    lines.push_back("entry" + std::to_string(i) + "+x|definition number " + std::to_string(i));
  }
  for (const bool fileSystem : {true, false}) {
    SCOPED_TRACE(fileSystem ? "full file system" : "file size limit");
    SmallFileSystem small;
    test::TempDir dir;
    if (fileSystem && !small.mounted()) {
      std::cout << "no tmpfs could be mounted: the full file system case is left out\n";
      continue;
    }
    const std::string path = fileSystem ? small.folder() + "/limited.qcd" : dir.file("limited.qcd");
    MemorySource previous({"previous|edition", "older"});
    ASSERT_TRUE(buildDictionary(previous, parameters(path)));
    const std::string before = readFile(path);

    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto handler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = saved;
    limited.rlim_cur = 512 * 1024;
    if (!fileSystem) {
      ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    }
    MemorySource source(lines);
    const bool built = buildDictionary(source, parameters(path));
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, handler);

    EXPECT_FALSE(built);
    EXPECT_EQ(source.errors, Texts{"Couldn't output \"" + path + "\" - out of disk space?\n"});
    EXPECT_EQ(readFile(path), before);
    EXPECT_EQ(folderContents(path), Texts{"limited.qcd"});
  }
}

// A second build of the same path that finishes while the first is still writing: each puts a
// whole file in place, so the path ends up holding exactly the last one to finish.
TEST(BuildDictionaryFailure, TwoBuildsOfOnePathNeverMix) {
  const Texts outerLines = {"one|first", "two"};
  const std::string alone = temporaryPath("alone");
  MemorySource reference(outerLines);
  ASSERT_TRUE(buildDictionary(reference, parameters(alone)));

  const std::string path = temporaryPath("shared");
  Texts innerLines;
  for (int i = 0; i < 2000; ++i) innerLines.push_back("inner" + std::to_string(i) + "|body");
  MemorySource outer(outerLines);
  bool innerBuilt = false;
  outer.onLine = [&](int read, long count) {
    if (read != 2 || count != 1 || innerBuilt) return;  // the outer file is open by now
    MemorySource inner(innerLines);
    innerBuilt = buildDictionary(inner, parameters(path));
  };
  ASSERT_TRUE(buildDictionary(outer, parameters(path)));
  EXPECT_TRUE(innerBuilt);
  EXPECT_EQ(readFile(path), readFile(alone));
}

}  // namespace
}  // namespace qel::buildtest
