// A replaced file changes only at a successful commit: until then, and after any failure, the
// target holds its old bytes and nothing is left beside it.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <set>

#include "platform/FileReplacement.h"
#include "platform/TemporaryFiles.h"
#include "support/TestDictionaries.h"

namespace qel {
namespace {

std::set<std::string> folderContents(const std::string& folder) {
  const std::vector<std::string> names = test::folderContents(folder);
  return {names.begin(), names.end()};
}

TEST(FileReplacement, TargetChangesOnlyAtCommitAndBackupKeepsThePreviousContents) {
  struct Case {
    const char* name;
    bool targetExists;
    bool commit;
    bool backup;
    std::string expected;        // the target afterwards, "" for none
    std::string expectedBackup;  // "words.bak" afterwards, "" for none
  };
  for (const Case& c : {Case{"new file", false, true, false, "new", ""},
                        Case{"replaced", true, true, false, "new", ""},
                        Case{"replaced with backup", true, true, true, "new", "old"},
                        Case{"new file with backup", false, true, true, "new", ""},
                        Case{"discarded", true, false, false, "old", ""},
                        Case{"discarded with no target", false, false, false, "", ""}}) {
    SCOPED_TRACE(c.name);
    test::TempDir dir;
    const std::string target = dir.file("words.qcd");
    if (c.targetExists) test::writeFile(target, "old");
    test::writeFile(dir.file("words.bak"), "older");  // an earlier backup is replaced
    {
      FileReplacement r;
      ASSERT_EQ(r.begin(target).reason(), "");
      ASSERT_EQ(std::fputs("new", r.file()), 1);
      std::fflush(r.file());
      EXPECT_EQ(test::readFile(target), c.targetExists ? "old" : "");
      if (c.commit) {
        EXPECT_EQ(r.commit(c.backup ? backupPathFor(target) : "").reason(), "");
      }
    }
    EXPECT_EQ(std::filesystem::exists(target), !c.expected.empty());
    EXPECT_EQ(test::readFile(target), c.expected);
    EXPECT_EQ(test::readFile(dir.file("words.bak")),
              c.expectedBackup.empty() ? "older" : c.expectedBackup);
    std::set<std::string> expectedNames = {"words.bak"};
    if (!c.expected.empty()) expectedNames.insert("words.qcd");
    EXPECT_EQ(folderContents(dir.path()), expectedNames);
  }
}

TEST(FileReplacement, ReplacementKeepsModeAndWritesThroughALink) {
  test::TempDir dir;
  const std::string real = dir.file("real.qcd");
  const std::string link = dir.file("link.qcd");
  test::writeFile(real, "old");
  ASSERT_EQ(chmod(real.c_str(), 0640), 0);
  std::filesystem::create_symlink(real, link);
  FileReplacement r;
  ASSERT_EQ(r.begin(link).reason(), "");
  std::fputs("new", r.file());
  ASSERT_EQ(r.commit().reason(), "");
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  EXPECT_EQ(test::readFile(real), "new");
  struct stat s;
  ASSERT_EQ(stat(real.c_str(), &s), 0);
  EXPECT_EQ(s.st_mode & 07777, 0640u);
}

TEST(FileReplacement, TargetsThatCannotBeReplacedAreRefusedWithTheReason) {
  test::TempDir dir;
  const std::string fifo = dir.file("pipe");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  for (const auto& [target, reason] :
       {std::pair<std::string, std::string>{dir.path(), "not a regular file"},
        {fifo, "not a regular file"},
        {"/dev/full", "not a regular file"},
        {dir.file("missing/words.qcd"), "No such file or directory"}}) {
    SCOPED_TRACE(target);
    FileReplacement r;
    EXPECT_EQ(r.begin(target).reason(), reason);
    EXPECT_EQ(r.file(), nullptr);
  }
  EXPECT_EQ(folderContents(dir.path()), std::set<std::string>{"pipe"});
}

TEST(FileReplacement, BackupNamesAndABackupThatWouldBeTheTarget) {
  EXPECT_EQ(backupPathFor("/data/words.qcd"), "/data/words.bak");
  EXPECT_EQ(backupPathFor("/data.d/words.v2.qcd"), "/data.d/words.bak");
  EXPECT_EQ(backupPathFor("notes"), "notes.bak");
  EXPECT_EQ(backupPathFor("/home/.words.qcd"), "/home/.words.bak");
  EXPECT_EQ(backupPathFor("/data/words.bak"), "/data/words.bak.bak");

  // Asked to back a file up onto itself, the replacement keeps the target and replaces it.
  test::TempDir dir;
  const std::string target = dir.file("words.qcd");
  test::writeFile(target, "old");
  FileReplacement r;
  ASSERT_EQ(r.begin(target).reason(), "");
  std::fputs("new", r.file());
  ASSERT_EQ(r.commit(dir.path() + "/./words.qcd").reason(), "");
  EXPECT_EQ(test::readFile(target), "new");
}

}  // namespace
}  // namespace qel

namespace qel {
namespace {

// Stopped by SIGINT or SIGTERM part way, a process removes the temporary it was writing.
TEST(FileReplacement, AStoppedProcessLeavesNoTemporary) {
  for (const int signal : {SIGINT, SIGTERM}) {
    test::TempDir dir;
    const std::string target = dir.file("target.qcd");
    EXPECT_EXIT(
        {
          temporary_files::removeOnSignal();
          FileReplacement out;
          if (!out.begin(target).ok()) std::exit(1);
          std::fputs("half of it", out.file());
          std::fflush(out.file());
          std::raise(signal);
        },
        ::testing::KilledBySignal(signal), "");
    EXPECT_TRUE(test::folderContents(dir.path()).empty()) << signal;
  }
}

}  // namespace
}  // namespace qel
