// A FIFO, a folder or a device named as a dictionary, a builder source or a builder output is
// refused at once with the reason; nothing waits for a writer that never comes.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "cli/Cli.h"
#include "support/CliProcess.h"
#include "support/TestDictionaries.h"

namespace qel {
namespace {

TEST(CliFileKinds, FilesThatAreNotRegularAreRefusedWithoutWaiting) {
  test::TempDir dir;
  const std::string fifo = dir.file("words.qcd");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const std::string source = dir.file("source.txt");
  test::writeFile(source, "alpha\nbeta|second\n");
  const std::string dict = dir.file("real.qcd");
  ASSERT_TRUE(test::buildTestDictionary(dict, {"alpha"}));

  for (const std::string& special : {fifo, dir.path(), std::string("/dev/zero")}) {
    struct Case {
      std::vector<std::string> args;
      std::string message;
    };
    for (const Case& c :
         {Case{{"info", special}, "is not a valid QEL&Corvanth Dictionary File"},
          Case{{"list", special}, "is not a valid QEL&Corvanth Dictionary File"},
          Case{{"search", "alpha", dict, special}, "is not a valid QEL&Corvanth Dictionary File"},
          Case{{"define", "alpha", special}, "is not a valid QEL&Corvanth Dictionary File"},
          Case{{"fulltext", "alpha", special}, "is not a valid QEL&Corvanth Dictionary File"},
          Case{{"build", special, dir.file("out.qcd")}, "not a regular file"},
          Case{{"build", source, special}, "not a regular file"}}) {
      SCOPED_TRACE(c.args[0] + " " + c.args.back());
      const test::ProcessRun r = test::runCliProcess(c.args, "", 10);
      EXPECT_EQ(r.status, cli::kError);
      EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    }
  }
}

}  // namespace
}  // namespace qel
