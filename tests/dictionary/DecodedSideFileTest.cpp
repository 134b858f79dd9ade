// Side files: made once, mapped after, replaying exactly what decoding gives; a stale or damaged
// one is never used for what it holds wrongly, and searches give the same results with and
// without them.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <random>
#include <thread>

#include "cli/Cli.h"
#include "dictionary/DecodedSideFile.h"
#include "dictionary/Dictionary.h"
#include "dictionary/EntryEnumerator.h"
#include "dictionary/EnumeratedItems.h"
#include "dictionary/QCDictionaryList.h"
#include "dictionary/SideFileLayout.h"
#include "platform/Cp1252.h"
#include "platform/MappedFile.h"
#include "search/SearchSession.h"
#include "support/CliRun.h"
#include "support/TestDictionaries.h"

namespace qel {
namespace {

// Each pattern's results in a fresh list that `prepare` sets up first. Each search runs three
// times: its results stored; written out as found (which takes them from replay many at a time);
// and written out with words alone as lines. All must agree.
std::vector<std::vector<std::string>> searchResults(
    const std::string& path, const std::vector<std::string>& patterns,
    const std::function<void(QCDictionaryList&)>& prepare) {
  std::vector<std::vector<std::string>> all;
  QCDictionaryList list(path);
  EXPECT_TRUE(list.recheck(0));
  prepare(list);
  enum class Way { kStored, kStreamed, kLines };
  for (const std::string& pattern : patterns) {
    std::vector<std::string> found, handed[2];
    for (const Way way : {Way::kStored, Way::kStreamed, Way::kLines}) {
      SearchSession session(list);
      std::vector<std::string>& into = handed[way == Way::kLines];
      if (way != Way::kStored) {
        session.setResultSink([&](std::span<const SearchSession::StreamedResult> results) {
          for (const SearchSession::StreamedResult& r : results) {
            into.push_back(std::string(r.entry).append(r.annotation).append(r.extra));
          }
          return true;
        });
      }
      if (way == Way::kLines) {
        session.setLinesSink([&](std::string_view lines, size_t count) {
          EXPECT_EQ(static_cast<size_t>(std::count(lines.begin(), lines.end(), '\n')), count);
          for (size_t at = 0; at < lines.size();) {
            const size_t end = lines.find('\n', at);
            std::string line;  // the results are code page 1252
            EXPECT_TRUE(cp1252::fromUtf8(lines.substr(at, end - at), line));
            into.push_back(line);
            at = end + 1;
          }
          return true;
        });
      }
      if (session.validate(pattern, SearchSettings{}).state != SearchState::Ready) break;
      session.start();
      EXPECT_EQ(session.streaming(), way != Way::kStored);
      while (session.step()) {
      }
      const ResultList& results = session.pane(0).results;
      for (long i = 0; i < results.count(); ++i) found.emplace_back(results.record(i)->text());
    }
    EXPECT_EQ(handed[0], found) << pattern;
    EXPECT_EQ(handed[1], found) << pattern << " as lines";
    all.push_back(found);
  }
  return all;
}

class DecodedSideFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    path = dir.file("words.qcd");
    folder = dir.file("cache");
    ASSERT_TRUE(test::buildTestDictionary(
        path, {"tail|A tail.", "Tail End+a band+|Players.", "tail-end:tailend|The end.", "toll",
               "tall+adjective+", "tails", ";hidden|Region one.", "bank++2+|Money.", "\xE9t\xE9",
               "tale:tael|A story.", "abcdefghijklmnopqrstuvwxyzabcd"}));
  }

  // Every length's items through a fresh list that first takes the side file (or not).
  std::vector<std::vector<std::string>> items(bool sideFile, SideFileUse* use = nullptr,
                                              std::vector<bool>* replayed = nullptr) {
    QCDictionaryList list(path);
    EXPECT_TRUE(list.recheck(0));
    if (sideFile) {
      const SideFileUse used = useDecodedSideFile(list.dictionary(0), folder);
      if (use) *use = used;
    }
    std::vector<std::vector<std::string>> all;
    for (int length = 1; length < list.slotCount(0); ++length) {
      EntryEnumerator e(list, 0);
      bool fromSideFile = false;
      all.push_back(test::enumerateItems(e, length, &fromSideFile));
      if (replayed) replayed->push_back(fromSideFile);
    }
    return all;
  }

  std::string sideFile() const { return sideFilePath(folder, path); }

  // Where in the side file of the dictionary's 6-letter section lies what `part` points to.
  size_t sideFileOffset(const std::function<const void*(const DecodedSection&)>& part) const {
    QCDictionaryList list(path);
    EXPECT_TRUE(list.recheck(0));
    const auto side = DecodedSideFile::open(sideFile(), list.dictionary(0));
    EXPECT_TRUE(side);
    if (!side) return 0;
    const auto section = side->section(6);
    const auto file = std::static_pointer_cast<const MappedFile>(section->storage);
    return static_cast<size_t>(static_cast<const uint8_t*>(part(*section)) - file->bytes().data());
  }

  test::TempDir dir;
  std::string path, folder;
};

TEST_F(DecodedSideFiles, MadeOnceThenMappedAndReplayedAsTheDictionaryDecodes) {
  const auto decoded = items(false);
  SideFileUse use = SideFileUse::kNone;
  std::vector<bool> replayed;
  EXPECT_EQ(items(true, &use, &replayed), decoded);
  EXPECT_EQ(use, SideFileUse::kMade);
  // Written whole under a temporary name, then renamed: nothing else is left in the folder.
  EXPECT_EQ(test::folderContents(folder).size(), 1u);

  replayed.clear();
  EXPECT_EQ(items(true, &use, &replayed), decoded);
  EXPECT_EQ(use, SideFileUse::kMapped);
  EXPECT_TRUE(replayed[3]);   // length 4: "tail", "toll", ...
  EXPECT_TRUE(replayed[29]);  // the longest entry
}

TEST_F(DecodedSideFiles, StaleOrDamagedSideFilesAreNotTrusted) {
  const auto decoded = items(false);
  SideFileUse use = SideFileUse::kNone;
  items(true, &use);
  ASSERT_EQ(use, SideFileUse::kMade);

  // Cut short, or its header changed: made again.
  std::string bytes = test::readFile(sideFile());
  test::writeFile(sideFile(), bytes.substr(0, bytes.size() / 2));
  EXPECT_EQ(items(true, &use), decoded);
  EXPECT_EQ(use, SideFileUse::kMade);
  bytes = test::readFile(sideFile());
  bytes[bytes.find("words.qcd")] = 'W';
  test::writeFile(sideFile(), bytes);
  EXPECT_EQ(items(true, &use), decoded);
  EXPECT_EQ(use, SideFileUse::kMade);

  // A letter index beyond the alphabet in the last section, or items that point anywhere: those
  // sections come from the dictionary from where replay finds the damage, and the file goes, to
  // be made again.
  bytes = test::readFile(sideFile());
  const size_t lastEnd = bytes.rfind('\xFF');
  ASSERT_NE(lastEnd, std::string::npos);
  bytes[lastEnd - 1] = '\xF0';
  test::writeFile(sideFile(), bytes);
  std::vector<bool> replayed;
  EXPECT_EQ(items(true, &use, &replayed), decoded);
  EXPECT_EQ(use, SideFileUse::kMapped);
  EXPECT_TRUE(replayed[3]);
  EXPECT_TRUE(test::folderContents(folder).empty());

  // An end mark among an entry's letters: the section is refused as well.
  items(true, &use);
  ASSERT_EQ(use, SideFileUse::kMade);
  bytes = test::readFile(sideFile());
  bytes[bytes.rfind('\xFF') - 1] = '\xFF';
  test::writeFile(sideFile(), bytes);
  replayed.clear();
  EXPECT_EQ(items(true, &use, &replayed), decoded);
  EXPECT_TRUE(test::folderContents(folder).empty());

  items(true, &use);
  ASSERT_EQ(use, SideFileUse::kMade);
  bytes = test::readFile(sideFile());
  const size_t data = (bytes.find("words.qcd") + 9 + 7) / 8 * 8;  // the first section's items
  std::fill(bytes.begin() + data, bytes.begin() + data + 200, '\x7F');
  test::writeFile(sideFile(), bytes);
  EXPECT_EQ(items(true, &use), decoded);  // the file takes over at the first such item
  EXPECT_EQ(use, SideFileUse::kMapped);
  EXPECT_TRUE(test::folderContents(folder).empty());

  // The dictionary rewritten: the old side file no longer names it.
  items(true, &use);
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  ASSERT_TRUE(test::buildTestDictionary(path, {"tail|Another tail.", "toil"}));
  const auto rewritten = items(false);
  EXPECT_EQ(items(true, &use), rewritten);
  EXPECT_EQ(use, SideFileUse::kMade);
}

TEST_F(DecodedSideFiles, AFolderThatRefusesTheFileLeavesSearchesToTheDictionary) {
  test::writeFile(dir.file("file"), "not a folder");
  folder = dir.file("file") + "/cache";
  const auto decoded = items(false);
  SideFileUse use = SideFileUse::kNone;
  std::vector<bool> replayed;
  EXPECT_EQ(items(true, &use, &replayed), decoded);
  EXPECT_EQ(use, SideFileUse::kUnwritten);
  EXPECT_FALSE(replayed[3]);
}

TEST_F(DecodedSideFiles, QelCliMakesItInTheCacheFolderUnlessToldNotTo) {
  const char* before = std::getenv("XDG_CACHE_HOME");
  const std::string saved = before ? before : "";
  setenv("XDG_CACHE_HOME", folder.c_str(), 1);
  std::filesystem::create_directories(folder);
  const auto plain = test::runCli({"search", "--no-cache", "t*", path});
  EXPECT_TRUE(test::folderContents(folder).empty());
  setenv("QEL_NO_CACHE", "1", 1);
  EXPECT_EQ(test::runCli({"search", "t*", path}).out, plain.out);
  EXPECT_TRUE(test::folderContents(folder).empty());
  unsetenv("QEL_NO_CACHE");
  EXPECT_EQ(test::runCli({"search", "t*", path}).out, plain.out);  // makes it
  EXPECT_EQ(test::folderContents(folder + "/qel").size(), 1u);
  EXPECT_EQ(test::runCli({"search", "t*", path}).out, plain.out);  // maps it

  // A build makes the new dictionary's side file as it finishes.
  std::filesystem::remove_all(folder + "/qel");
  test::writeFile(folder + "/source.txt", "tail\ntoil\n");
  ASSERT_EQ(test::runCli({"build", folder + "/source.txt", path}).status, cli::kFound);
  EXPECT_TRUE(std::filesystem::exists(sideFilePath(folder + "/qel", path)));
  before ? setenv("XDG_CACHE_HOME", saved.c_str(), 1) : unsetenv("XDG_CACHE_HOME");
}

// Letters are checked as replay reaches them, a few thousand entries at a time: damage far into
// a section is found there, and the dictionary gives the rest, whether the entries are replayed
// one by one or tested in bulk.
TEST_F(DecodedSideFiles, DamageFarIntoASectionIsFoundWhereReplayReachesIt) {
  std::mt19937 random(7);
  std::vector<std::string> words;
  for (int i = 0; i < 9000; ++i) {
    std::string word(6, 'a');
    for (char& c : word) c = static_cast<char>('a' + random() % 26);
    // A third keep their items: a capital is more than the letters spell.
    if (i % 3 == 0) word[0] = static_cast<char>(word[0] - 'a' + 'A');
    words.push_back(word);
  }
  ASSERT_TRUE(test::buildTestDictionary(path, words));
  const std::vector<std::string> patterns = {"*", "*a", "b.....", ";abc..", "*a & !b*"};
  const auto decoded = searchResults(path, patterns, [](QCDictionaryList&) {});
  ASSERT_GT(decoded[0].size(), 8000u);
  const auto withSideFile = [&] {
    return searchResults(path, patterns, [&](QCDictionaryList& list) {
      useDecodedSideFile(list.dictionary(0), folder);
    });
  };
  const size_t entries = decoded[0].size();
  const size_t damaged = entries - 1000;
  for (const char* damage : {"\xF0", "\xFF"}) {
    EXPECT_EQ(withSideFile(), decoded);  // made
    std::string bytes = test::readFile(sideFile());
    const size_t entryEnd =
        sideFileOffset([](const DecodedSection& s) { return s.letters.data(); }) + 7 * damaged + 6;
    ASSERT_EQ(bytes[entryEnd], '\xFF');
    // A letter beyond the alphabet, or an end mark among the letters (and a letter where it was).
    bytes[entryEnd - 3] = damage[0];
    if (damage[0] == '\xFF') bytes[entryEnd] = 'a' - 'a';
    test::writeFile(sideFile(), bytes);
    EXPECT_EQ(withSideFile(), decoded) << "damage " << static_cast<int>(damage[0]);
    EXPECT_TRUE(test::folderContents(folder).empty());
  }
  // The counts that lead replay to the items of the entries not spelled out, or the bits that tell
  // which those are: an item found where another entry's belongs is refused.
  for (const bool counts : {true, false}) {
    EXPECT_EQ(withSideFile(), decoded);  // made
    std::string bytes = test::readFile(sideFile());
    const size_t at = sideFileOffset([&](const DecodedSection& s) {
      return counts ? static_cast<const void*>(s.unspelledBefore.data())
                    : static_cast<const void*>(s.spelled.data());
    });
    const size_t word = (entries - 1000) / 64;
    bytes[at + (counts ? 4 : 8) * word] ^= 0x15;
    test::writeFile(sideFile(), bytes);
    EXPECT_EQ(withSideFile(), decoded) << (counts ? "counts" : "bits");
    EXPECT_TRUE(test::folderContents(folder).empty());
  }
}

// The cache is trusted only where no one else could have put anything: a link at a side file's
// name is replaced, never written through; a folder or file others can write, or a folder that is
// a link, is not used; and a missing home folder is not made.
TEST_F(DecodedSideFiles, NeitherLinksNorOthersFilesAreTrusted) {
  namespace fs = std::filesystem;
  const auto decoded = items(false);
  // Temporaries a stopped process left: a day old and more, they go when a side file is made.
  fs::create_directories(folder);
  ::chmod(folder.c_str(), 0700);
  for (const char* name : {"/.old.qds.abcdefgh.tmp", "/.new.qds.abcdefgh.tmp"})
    test::writeFile(folder + name, "left behind");
  fs::last_write_time(folder + "/.old.qds.abcdefgh.tmp",
                      fs::file_time_type::clock::now() - std::chrono::hours(25));
  SideFileUse use = SideFileUse::kNone;
  items(true, &use);
  ASSERT_EQ(use, SideFileUse::kMade);
  EXPECT_FALSE(fs::exists(folder + "/.old.qds.abcdefgh.tmp"));
  EXPECT_TRUE(fs::exists(folder + "/.new.qds.abcdefgh.tmp"));
  const std::string outside = dir.file("private.txt");
  test::writeFile(outside, "not the cache's");
  ::chmod(outside.c_str(), 0600);
  for (const std::string& target : {outside, path}) {
    const std::string before = test::readFile(target);
    fs::remove(sideFile());
    fs::create_symlink(target, sideFile());
    EXPECT_EQ(items(true, &use), decoded) << target;
    EXPECT_EQ(use, SideFileUse::kMade);
    EXPECT_EQ(test::readFile(target), before) << target;
    EXPECT_FALSE(fs::is_symlink(sideFile()));
    EXPECT_EQ(fs::status(sideFile()).permissions(), fs::perms::owner_read | fs::perms::owner_write);
  }
  // A side file others may write is made again, as the owner's own.
  ::chmod(sideFile().c_str(), 0666);
  EXPECT_EQ(items(true, &use), decoded);
  EXPECT_EQ(use, SideFileUse::kMade);

  struct Case {
    const char* what;
    std::function<void()> prepare;
  };
  const std::string real = dir.file("real-cache");
  const Case refused[] = {
      {"a folder others may write", [&] { ::chmod(folder.c_str(), 0777); }},
      {"a folder that is a link",
       [&] {
         fs::create_directory(real);
         ::chmod(real.c_str(), 0700);
         fs::remove_all(folder);
         fs::create_directory_symlink(real, folder);
       }},
      {"a folder of another user",
       [&] {
         if (::geteuid() != 0) return;  // only the superuser can give a folder away
         fs::create_directories(folder);
         ASSERT_EQ(::chown(folder.c_str(), 65534, 65534), 0);
       }},
      {"a missing home folder", [&] { folder = dir.file("no-home") + "/.cache/qel"; }},
  };
  for (const Case& c : refused) {
    fs::remove_all(folder);
    items(true, &use);
    c.prepare();
    if (std::string(c.what) == "a folder of another user" && ::geteuid() != 0) continue;
    std::vector<bool> replayed;
    EXPECT_EQ(items(true, &use, &replayed), decoded) << c.what;
    EXPECT_EQ(use, SideFileUse::kUnwritten) << c.what;
    EXPECT_FALSE(replayed[3]) << c.what;
  }
  EXPECT_FALSE(fs::exists(dir.file("no-home")));
}

// A thousand random byte and bit flips anywhere in a side file, and side files of other contents
// stamped with this dictionary's key (planted, or left by a dictionary replaced within its file
// system's time granularity): the results are always those of the dictionary itself.
TEST_F(DecodedSideFiles, DamagedOrForeignSideFilesNeverChangeResults) {
  // Side files of a dictionary changed more than two seconds ago are vouched for once made, and
  // checked whole when they are no longer the file vouched for.
  std::this_thread::sleep_for(std::chrono::milliseconds(2100));
  const std::vector<std::string> patterns = {"*", "t*", ";ailt", "*e*"};
  const auto decoded = searchResults(path, patterns, [](QCDictionaryList&) {});
  const auto cached = [&] {
    return searchResults(path, patterns, [&](QCDictionaryList& list) {
      useDecodedSideFile(list.dictionary(0), folder);
    });
  };
  std::mt19937 random(11);
  for (int damage = 0; damage < 1000; ++damage) {
    SideFileUse use = SideFileUse::kNone;
    items(true, &use);  // made again after the last damage
    if (damage == 0) {
      EXPECT_TRUE(std::filesystem::exists(sideFile() + ".ok"));
    }
    std::string bytes = test::readFile(sideFile());
    const size_t at = random() % bytes.size();
    if (damage % 2 == 0) {
      bytes[at] = static_cast<char>(bytes[at] ^ (1 + random() % 255));
    } else {
      bytes[at] = static_cast<char>(bytes[at] ^ (1 << (random() % 8)));
    }
    test::writeFile(sideFile(), bytes);
    const auto got = cached();
    ASSERT_EQ(got, decoded) << "damage " << damage << " at byte " << at;
  }

  const std::vector<std::vector<std::string>> others = {
      {"bail", "bell", "tiles", "tall", "toil"},  // another dictionary
      // This one with a word changed and the size kept: a same-second replacement.
      {"tail|A tail.", "Tail End+a band+|Players.", "tail-end:tailend|The end.", "tolk",
       "tall+adjective+", "tails", ";hidden|Region one.", "bank++2+|Money.", "\xE9t\xE9",
       "tale:tael|A story.", "abcdefghijklmnopqrstuvwxyzabcd"},
  };
  for (const auto& words : others) {
    const std::string other = dir.file("other.qcd");
    ASSERT_TRUE(test::buildTestDictionary(other, words));
    QCDictionaryList otherList(other);
    ASSERT_TRUE(otherList.recheck(0));
    ASSERT_EQ(useDecodedSideFile(otherList.dictionary(0), folder), SideFileUse::kMade);
    std::vector<uint8_t> bytes;
    for (const char c : test::readFile(sideFilePath(folder, other))) bytes.push_back(c);
    QCDictionaryList list(path);
    ASSERT_TRUE(list.recheck(0));
    ASSERT_TRUE(restampSideFile(bytes, list.dictionary(0), Restamp::kKey));
    test::writeFile(sideFile(), std::string(bytes.begin(), bytes.end()));
    EXPECT_EQ(cached(), decoded) << words[0];
  }
}

// A dictionary cut short in place while its side file is made: its bytes are read again for their
// checksum after they were decoded, and that reading finds the cut instead of faulting on it. The
// sections come ready from the dictionary's source, the last one cutting the file as it is asked
// for, so that the cut falls exactly between decoding and checksum.
TEST_F(DecodedSideFiles, ADictionaryCutWhileItsSideFileIsMadeIsInvalidated) {
  QCDictionaryList list(path);
  ASSERT_TRUE(list.recheck(0));
  Dictionary& dictionary = list.dictionary(0);
  std::vector<std::shared_ptr<const DecodedSection>> sections(format::kMaxSlots);
  for (int length = 1; length < dictionary.slotCount(); ++length)
    sections[length] = EntryEnumerator::decodeSection(dictionary, length);
  const auto size = std::filesystem::file_size(path);
  dictionary.setDecodedSource([&](int length) {
    if (length == dictionary.slotCount() - 1) std::filesystem::resize_file(path, size / 2);
    return sections[length];
  });
  EXPECT_EQ(useDecodedSideFile(dictionary, folder), SideFileUse::kNone);
  EXPECT_FALSE(dictionary.valid());
  EXPECT_TRUE(dictionary.invalidated());
  EXPECT_FALSE(std::filesystem::exists(sideFile()));
}

// A side file vouched for is still checked against its own checksums in every process: a byte
// changed under a note that still holds (rot on disk, or times set back) is found, and that
// length comes from the dictionary.
TEST_F(DecodedSideFiles, AVouchedSideFileStillHasItsOwnBytesChecked) {
  std::this_thread::sleep_for(std::chrono::milliseconds(2100));  // so that the note is written
  const std::vector<std::string> patterns = {"*", "t*"};
  const auto decoded = searchResults(path, patterns, [](QCDictionaryList&) {});
  SideFileUse use = SideFileUse::kNone;
  items(true, &use);
  ASSERT_EQ(use, SideFileUse::kMade);
  const std::string note = sideFile() + ".ok";
  ASSERT_TRUE(std::filesystem::exists(note));

  std::string bytes = test::readFile(sideFile());
  const size_t at = bytes.find("tall");
  ASSERT_NE(at, std::string::npos);
  bytes[at + 1] = 'A';
  test::writeFile(sideFile(), bytes);
  // The note made to hold for the changed file: its identity in place of the old one, and the
  // note's own checksum again.
  std::string noteBytes = test::readFile(note);
  FileIdentity changed;
  ASSERT_EQ(regularFileIdentity(sideFile(), changed), 0);
  constexpr size_t kSideIdentityAt = 16;
  std::memcpy(noteBytes.data() + kSideIdentityAt, &changed, sizeof changed);
  std::memset(noteBytes.data() + noteBytes.size() - 8, 0, 8);
  const uint64_t sum = side_file::checksum(noteBytes.data(), noteBytes.size());
  std::memcpy(noteBytes.data() + noteBytes.size() - 8, &sum, 8);
  test::writeFile(note, noteBytes);

  QCDictionaryList list(path);
  ASSERT_TRUE(list.recheck(0));
  const auto side = DecodedSideFile::open(sideFile(), list.dictionary(0));
  ASSERT_TRUE(side);
  ASSERT_TRUE(side->vouched());
  const auto got = searchResults(path, patterns, [&](QCDictionaryList& searched) {
    useDecodedSideFile(searched.dictionary(0), folder);
  });
  EXPECT_EQ(got, decoded);
}

// Random templates, wildcards, variables and anagrams made from the dictionary's own words give
// the same results decoded, kept in memory as the window keeps them, and from a side file.
TEST_F(DecodedSideFiles, SearchesGiveTheSameResultsWithAndWithoutKeptSections) {
  // Every seventh word of the list, spread over the alphabet.
  std::vector<std::string> words;
  const std::vector<std::string> list = test::systemWordList();
  for (size_t i = 0; i < list.size(); i += 7) words.push_back(list[i]);
  if (words.empty()) GTEST_SKIP() << "no system word list";
  ASSERT_TRUE(test::buildTestDictionary(path, words));
  std::mt19937 random(20261208);
  std::vector<std::string> patterns = {"*", "*ing", "a*", "12341234", ";..oting & ! *ing"};
  for (int tries = 0; patterns.size() < 120 && tries < 100000; ++tries) {
    const std::string& word = words[random() % words.size()];
    if (word.size() < 3 || word.size() > 12 ||
        word.find_first_not_of("abcdefghijklmnopqrstuvwxyz") != std::string::npos) {
      continue;
    }
    std::string p = word;
    switch (random() % 4) {
      case 0:  // a template with match-alls and variables
        for (char& c : p) c = random() % 3 == 0 ? '.' : random() % 5 == 0 ? '1' : c;
        break;
      case 1:  // a wildcard in place of a span
        p = p.substr(0, random() % 3) + "*" + p.substr(p.size() - random() % 3);
        break;
      case 2:  // an anagram with a blank
        p = ";" + p.substr(1) + ".";
        break;
      default:  // a choice list
        p = "[" + p.substr(0, 2) + "]" + p.substr(1);
        break;
    }
    patterns.push_back(p);
  }
  auto searchAll = [&](const std::function<void(QCDictionaryList&)>& prepare) {
    return searchResults(path, patterns, prepare);
  };
  const auto decoded = searchAll([](QCDictionaryList&) {});
  setDecodedSectionBudget(kWindowDecodedSectionBudget);
  // The first pass keeps the sections, the second replays them.
  for (int pass = 0; pass < 2; ++pass) {
    EXPECT_EQ(searchAll([](QCDictionaryList&) {}), decoded) << "kept in memory, pass " << pass;
  }
  setDecodedSectionBudget(0);
  for (const SideFileUse expected : {SideFileUse::kMade, SideFileUse::kMapped}) {
    EXPECT_EQ(searchAll([&](QCDictionaryList& list) {
                EXPECT_EQ(useDecodedSideFile(list.dictionary(0), folder), expected);
              }),
              decoded);
  }
  long total = 0;
  for (const auto& found : decoded) total += static_cast<long>(found.size());
  EXPECT_GT(total, 40000);
}

}  // namespace
}  // namespace qel
