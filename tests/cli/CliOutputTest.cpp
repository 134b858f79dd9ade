// Output that cannot be written is an error the user hears about, for every command that prints;
// a reader that goes away early (a pipe into head) ends the program quietly.
#include <gtest/gtest.h>

#include <cstdlib>

#include "cli/Cli.h"
#include "support/CliProcess.h"
#include "support/TestDictionaries.h"

namespace qel {
namespace {

class CliOutput : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(test::buildTestDictionary(dict, {"river|Water that flows.", "rivet", "ravel"}));
  }

  test::TempDir dir;
  std::string dict = dir.file("words.qcd");
};

TEST_F(CliOutput, UnwritableStandardOutputIsAnError) {
  const std::vector<std::vector<std::string>> commands = {
      {"search", "r.v.."}, {"fulltext", "water"}, {"define", "river"}, {"list"}, {"info"}};
  for (const std::string sink : {"> /dev/full", ">&-"}) {
    for (std::vector<std::string> args : commands) {
      SCOPED_TRACE(args[0] + " " + sink);
      args.push_back(dict);
      const test::ProcessRun written = test::runCliProcess(args);
      ASSERT_EQ(written.status, cli::kFound) << written.err;
      ASSERT_FALSE(written.out.empty());
      const test::ProcessRun r = test::runCliProcess(args, sink);
      EXPECT_EQ(r.status, cli::kError);
      EXPECT_NE(r.err.find("qel-cli: cannot write the output: "), std::string::npos) << r.err;
    }
  }
}

TEST_F(CliOutput, ReaderThatLeavesEarlyEndsTheProgramQuietly) {
  std::vector<std::string> lines;
  for (int i = 0; i < 50000; ++i) lines.push_back("w" + std::to_string(i) + "x");
  for (auto& w : lines) {
    for (auto& c : w) c = static_cast<char>('a' + (c - '0' + 26) % 26);
  }
  const std::string big = dir.file("big.qcd");
  ASSERT_TRUE(test::buildTestDictionary(big, lines));
  const std::string errFile = dir.file("err");
  // With SIGPIPE as it comes and with SIGPIPE ignored, when a write fails with EPIPE instead; a
  // search writes its results as it finds them, and stops finding them there.
  for (const std::string prefix : {"", "trap '' PIPE; "}) {
    for (const std::string command : {" list ", " search --no-cache '*' ", " search '*' "}) {
      SCOPED_TRACE(prefix + command);
      const std::string line = prefix + "timeout 20 " + test::shellQuoted(QEL_CLI_PATH) + command +
                               test::shellQuoted(big) + " 2>" + test::shellQuoted(errFile) +
                               " | head -1 >/dev/null";
      EXPECT_EQ(std::system(("sh -c " + test::shellQuoted(line)).c_str()), 0);
      EXPECT_EQ(test::readFile(errFile), "");
    }
  }
}

}  // namespace
}  // namespace qel
