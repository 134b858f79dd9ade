// A file that cannot be read is reported with the reason in the system's words, never as missing
// or as no valid dictionary; and a path that holds a ";" is one path.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "cli/Cli.h"
#include "dictionary/Dictionary.h"
#include "support/CliProcess.h"
#include "support/CliRun.h"
#include "support/TestDictionaries.h"

namespace qel {
namespace {

const auto run = test::runCli;

bool contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

TEST(CliReasons, UnreadableFilesAreReportedWithTheSystemsReason) {
  test::TempDir dir;
  const std::string dict = dir.file("good.qcd");
  ASSERT_TRUE(test::buildTestDictionary(dict, {"alpha"}));
  const std::string source = dir.file("source.txt");
  test::writeFile(source, "alpha\n");
  const std::string loop = dir.file("loop.qcd");
  std::filesystem::create_symlink(loop, loop);
  const std::string underFile = source + "/x.qcd";

  for (const auto& [path, reason] :
       {std::pair<std::string, std::string>{loop, "Too many levels of symbolic links"},
        {underFile, "Not a directory"}}) {
    SCOPED_TRACE(path);
    const std::string said = path + "\ncannot be read: " + reason + "\n";
    test::CliRun info = run({"info", path});
    EXPECT_EQ(info.status, cli::kError);
    EXPECT_EQ(info.err, said);
    EXPECT_TRUE(contains(info.out, kDictionaryUnreadableText + reason + " --")) << info.out;
    for (const std::vector<std::string>& args : {std::vector<std::string>{"list", path},
                                                 {"search", "alpha", dict, path},
                                                 {"define", "alpha", dict, path},
                                                 {"fulltext", "alpha", path}}) {
      test::CliRun r = run(args);
      EXPECT_EQ(r.status, cli::kError) << args[0];
      EXPECT_EQ(r.err, said) << args[0];
    }
    test::CliRun fromSource = run({"build", path, dir.file("out.qcd")});
    EXPECT_EQ(fromSource.status, cli::kError);
    EXPECT_TRUE(contains(fromSource.err, "\": " + reason)) << fromSource.err;
    test::CliRun toOutput = run({"build", source, path});
    EXPECT_EQ(toOutput.status, cli::kError);
    EXPECT_TRUE(contains(toOutput.err, "\" - " + reason)) << toOutput.err;
  }
}

// No permission: as another user when the tests run as root (root may read anything).
TEST(CliReasons, NoPermissionIsSaidSo) {
  test::TempDir dir;
  const std::string dict = dir.file("locked.qcd");
  ASSERT_TRUE(test::buildTestDictionary(dict, {"alpha"}));
  ASSERT_EQ(chmod(dict.c_str(), 0), 0);
  std::string err;
  if (geteuid() != 0) {
    err = run({"info", dict}).err;
  } else {
    if (std::system("command -v setpriv >/dev/null") != 0) GTEST_SKIP() << "no setpriv";
    ASSERT_EQ(chmod(dir.path().c_str(), 0755), 0);
    const std::string command = "setpriv --reuid=65534 --regid=65534 --clear-groups " +
                                test::shellQuoted(QEL_CLI_PATH) + " info " +
                                test::shellQuoted(dict) + " 2>" +
                                test::shellQuoted(dir.file("err")) + " >/dev/null";
    EXPECT_EQ(WEXITSTATUS(std::system(command.c_str())), cli::kError);
    err = test::readFile(dir.file("err"));
  }
  EXPECT_EQ(err, dict + "\ncannot be read: Permission denied\n");
}

TEST(CliReasons, PathsMayHoldSemicolons) {
  test::TempDir dir;
  const std::string odd = dir.file("one;two.qcd");
  ASSERT_TRUE(test::buildTestDictionary(odd, {"alpha|first letter", "beta"}));
  const std::string other = dir.file("other.qcd");
  ASSERT_TRUE(test::buildTestDictionary(other, {"alpine"}));
  EXPECT_EQ(run({"search", "--entries-only", "al...", odd}).out, "alpha\n");
  EXPECT_EQ(run({"search", "--entries-only", "al*", odd, other}).out,
            "# 1 one;two (1)\nalpha\n# 2 other (1)\nalpine\n");
  EXPECT_EQ(run({"define", "alpha", odd}).out, "alpha\nfirst letter\n");
  EXPECT_EQ(run({"list", odd}).out, "beta\nalpha\n");
  EXPECT_EQ(run({"info", odd}).status, cli::kFound);
  EXPECT_EQ(run({"fulltext", "--entries-only", "letter", odd}).status, cli::kFound);
}

}  // namespace
}  // namespace qel

namespace qel {
namespace {

// --version, a command's own --help, and a dictionary that is not there said as such.
TEST(CliReasons, VersionHelpAndMissingFiles) {
  struct Case {
    std::vector<std::string> args;
    int status;
    std::string out, err;  // parts that must appear
  };
  const Case cases[] = {
      {{"--version"}, cli::kFound, "qel-cli 2.5\n", ""},
      {{"search", "--help"}, cli::kFound, "Usage: qel-cli search [options] PATTERN DICT...\n", ""},
      {{"fulltext", "--help"}, cli::kFound, "  --mode suppress|independent|active\n", ""},
      {{"build", "-h", "x"}, cli::kFound, "  --encoding utf-8|cp1252 ", ""},
      {{"info", "/no/such/words.qcd"}, cli::kError, "", "/no/such/words.qcd\ndoes not exist\n"},
      {{"search", "a*", "/no/such/words.qcd"}, cli::kError, "", "does not exist"},
  };
  for (const Case& c : cases) {
    const test::CliRun r = test::runCli(c.args);
    EXPECT_EQ(r.status, c.status) << c.args[0] << " " << c.args[1];
    EXPECT_NE(r.out.find(c.out), std::string::npos) << r.out;
    EXPECT_NE(r.err.find(c.err), std::string::npos) << r.err;
    if (c.args[0] == "search" && c.status == cli::kFound) {
      EXPECT_EQ(r.out.find("qel-cli build"), std::string::npos);  // that command's lines only
    }
  }
}

}  // namespace
}  // namespace qel
