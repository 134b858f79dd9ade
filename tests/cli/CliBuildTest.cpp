// qel-cli build, info and list, run in process: UTF-8 at the edges, exit statuses, messages.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <filesystem>
#include <sstream>

#include "support/CliRun.h"
#include "support/TestDictionaries.h"

namespace qel {
namespace {

using test::CliRun;
const auto run = test::runCli;

TEST(CliBuild, Utf8SourceRoundTripsAndBadLinesAreReportedByNumber) {
  test::TempDir dir;
  const std::string source = dir.file("source.txt");
  const std::string dict = dir.file("words.qcd");
  test::writeFile(source,
                  "caf\xC3\xA9\n"            // café
                  "\xC5\x92uvre+noun+\n"     // Œuvre with an annotation
                  "infinity \xE2\x88\x9E\n"  // ∞ has no place in code page 1252
                  "Stra\xC3\x9F"
                  "e|a street\r\n"
                  "a\n");
  CliRun built =
      run({"build", "--description", "Caf\xC3\xA9 words", "--shortest", "2", source, dict});
  EXPECT_EQ(built.status, cli::kFound) << built.err;
  EXPECT_NE(built.err.find("line 3:"), std::string::npos) << built.err;
  EXPECT_NE(built.out.find("Alphabet analysis completed OK"), std::string::npos);

  CliRun listed = run({"list", dict});
  EXPECT_EQ(listed.status, cli::kFound);
  EXPECT_EQ(listed.out,
            "caf\xC3\xA9\n\xC5\x92uvre\tnoun\nStra\xC3\x9F"
            "e\n");
  EXPECT_EQ(run({"list", "--length", "5", dict}).out, "\xC5\x92uvre\tnoun\n");
  EXPECT_EQ(run({"list", "--length", "9", dict}).status, cli::kNothingFound);
  // A valid pattern of lengths the dictionary lacks finds nothing, as a script expects: not an
  // error.
  const CliRun none = run({"search", ".........", dict});
  EXPECT_EQ(none.status, cli::kNothingFound);
  EXPECT_EQ(none.err, "No words of the required length(s) in the dictionaries\n");

  CliRun info = run({"info", dict});
  EXPECT_EQ(info.status, cli::kFound);
  EXPECT_NE(info.out.find("words\nEntries: 3\nDefinitions: 1\nDescription: Caf\xC3\xA9 words\n"),
            std::string::npos)
      << info.out;
  EXPECT_NE(info.out.find("Shortest: 4\nLongest: 6\n"), std::string::npos) << info.out;
}

TEST(CliBuild, ErrorsExitWithStatusTwoAndTheSystemsOwnWords) {
  test::TempDir dir;
  const std::string source = dir.file("source.txt");
  test::writeFile(source, "x\n");
  CliRun r = run({"build", "--shortest", "2", source, dir.file("out.qcd")});
  EXPECT_EQ(r.status, cli::kError);
  EXPECT_NE(r.err.find("No entries to process - check input file and length range"),
            std::string::npos);
  EXPECT_EQ(run({"build", "--shortest", "two", source, dir.file("out.qcd")}).status, cli::kError);
  EXPECT_EQ(run({"build", dir.file("missing.txt"), dir.file("out.qcd")}).status, cli::kError);
  CliRun full = run({"build", source, "/dev/full"});
  EXPECT_EQ(full.status, cli::kError);
  CliRun invalid = run({"info", dir.file("none.qcd")});
  EXPECT_EQ(invalid.status, cli::kError);
  EXPECT_NE(invalid.err.find("none.qcd\ndoes not exist"), std::string::npos);
  EXPECT_NE(invalid.out.find("-- DICTIONARY FILE NOT FOUND --"), std::string::npos);
  EXPECT_EQ(run({"frobnicate"}).status, cli::kError);
  // "--" ends the options: what follows is taken as it stands, even a leading "--".
  test::writeFile(source, "--x\nabc\n");
  const std::string dict = dir.file("dashes.qcd");
  ASSERT_EQ(run({"build", "--", source, dict}).status, cli::kFound);
  EXPECT_EQ(run({"search", "--entries-only", "--", "--x", dict}).out, "--x\n");
  EXPECT_EQ(run({"search", "--mode", "active", "--active", "2", "abc", dict}).status, cli::kError);
  EXPECT_EQ(run({}).status, cli::kError);
}

TEST(CliBuild, OutputThatIsTheSourceIsRefusedAndTheSourceKept) {
  test::TempDir dir;
  const std::string source = dir.file("same.txt");
  const std::string text = "alpha\nbeta|second\n";
  test::writeFile(source, text);
  std::filesystem::create_hard_link(source, dir.file("linked.txt"));
  for (const std::string& out :
       {source, dir.path() + "/./same.txt",
        dir.path() + "/../" + std::filesystem::path(dir.path()).filename().string() + "/same.txt",
        dir.file("linked.txt")}) {
    SCOPED_TRACE(out);
    CliRun r = run({"build", source, out});
    EXPECT_EQ(r.status, cli::kError);
    EXPECT_NE(r.err.find("is the source file"), std::string::npos) << r.err;
    EXPECT_EQ(test::readFile(source), text);
  }
}

// Runs qel-cli with `args` in a child process; answers its exit status and its peak resident
// memory in kilobytes. A child's peak starts from its parent's size at the spawn (it is kept
// across exec), so only differences between two runs from the same parent mean anything.
std::pair<int, long> runMeasured(const std::vector<std::string>& args) {
  std::vector<char*> argv = {const_cast<char*>(QEL_CLI_PATH)};
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, QEL_CLI_PATH, &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  int status = 0;
  rusage usage{};
  if (spawned != 0 || wait4(pid, &status, 0, &usage) != pid) return {-1, 0};
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, usage.ru_maxrss};
}

// The builder reads its source again for each pass instead of holding it: a source of large
// definitions builds in far less memory than its own size.
TEST(CliBuild, MemoryFollowsTheEntriesNotTheDefinitions) {
  test::TempDir dir;
  const std::string source = dir.file("large.txt");
  size_t sourceSize = 0;
  {
    std::string body;
    while (body.size() < 40000) body += "lorem ipsum dolor sit amet ";
    std::string text;
    for (int i = 0; i < 1000; ++i) text += "word" + std::to_string(i) + "|" + body + "\n";
    test::writeFile(source, text);  // 40 MB
    sourceSize = text.size();
  }
  const std::string out = dir.file("large.qcd");
  const auto [helpStatus, baseline] = runMeasured({"--help"});
  ASSERT_EQ(helpStatus, cli::kFound);
  const auto [status, peak] = runMeasured({"build", source, out});
  ASSERT_EQ(status, cli::kFound);
  EXPECT_GT(std::filesystem::file_size(out), sourceSize);
  EXPECT_LT(peak - baseline, static_cast<long>(sourceSize / 4 / 1024));
}

}  // namespace
}  // namespace qel
