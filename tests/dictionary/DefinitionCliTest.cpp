// qel-cli define and fulltext, run in process: what they print, UTF-8 at the edges, exit statuses.
#include <gtest/gtest.h>

#include "support/CliRun.h"
#include "support/TestDictionaries.h"

namespace qel {
namespace {

const auto run = test::runCli;

class DefinitionCli : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(test::buildTestDictionary(
        m_path, {"abcdefghijklm:nopqrstuvwxyz|Every letter.",
                 "caf\xE9++1+|A small restaurant by the river.",
                 "river:stream;brook|Water that flows {in a bed}.",
                 "delta|{\\rtf1\\ansi{\\fonttbl\\f0 Arial;}\\b river\\b0  mouth\\par caf\\'e9}",
                 ";hidden|A river in region one."}));
    ASSERT_TRUE(test::buildTestDictionary(m_other, {"river|A second river book."}));
  }

  test::TempDir m_dir;
  std::string m_path = m_dir.file("defs.qcd");
  std::string m_other = m_dir.file("other.qcd");
};

TEST_F(DefinitionCli, DefinePrintsHeadingsAndBodiesAsUtf8Text) {
  auto r = run({"define", "Caf\xC3\xA9", m_path});  // "Café"
  EXPECT_EQ(r.status, cli::kFound) << r.err;
  EXPECT_EQ(r.out, "caf\xC3\xA9 1\nA small restaurant by the river.\n");

  r = run({"define", "delta", m_path});
  EXPECT_EQ(r.out, "delta\nriver mouth\ncaf\xC3\xA9\n");  // rich text read as plain text

  r = run({"define", "river", m_path, m_other});
  EXPECT_EQ(r.out,
            "# 1 defs (1)\nriver; stream\nWater that flows {in a bed}.\n\n"
            "# 2 other (1)\nriver\nA second river book.\n");
  EXPECT_EQ(run({"define", "hidden", m_path}).out, "hidden\nA river in region one.\n");
}

TEST_F(DefinitionCli, DefineAndFulltextReportNothingFoundAndErrorsByStatus) {
  EXPECT_EQ(run({"define", "ocean", m_path}).status, cli::kNothingFound);
  EXPECT_EQ(run({"define", "river"}).status, cli::kError);
  const auto missing = run({"define", "river", m_dir.file("none.qcd")});
  EXPECT_EQ(missing.status, cli::kError);
  EXPECT_NE(missing.err.find("does not exist"), std::string::npos);
  EXPECT_EQ(run({"define", "\xE2\x88\x9E", m_path}).status, cli::kError);  // no CP1252 form

  EXPECT_EQ(run({"fulltext", "ocean", m_path}).status, cli::kNothingFound);
  const auto bad = run({"fulltext", "a;b;c", m_path});
  EXPECT_EQ(bad.status, cli::kError);
  EXPECT_EQ(bad.err, "defs: Only one ; is allowed in a pattern\n");
  EXPECT_EQ(run({"fulltext", "--budget", "3", "river", m_path}).status, cli::kError);
}

TEST_F(DefinitionCli, FulltextListsTheRecordsWhoseWordsMatchEitherWay) {
  for (const char* mode : {"--bodies", "--sequential"}) {
    const auto r = run({"fulltext", mode, "river | mouth", m_path});
    EXPECT_EQ(r.status, cli::kFound) << r.err;
    const std::string bodies =
        std::string(mode) == "--bodies" ? "    A small restaurant by the river.\n" : "";
    EXPECT_EQ(r.out.substr(0, 8 + bodies.size()), "caf\xC3\xA9 1\n" + bodies) << mode;
    EXPECT_NE(r.out.find("\ndelta\n"), std::string::npos) << mode;
    EXPECT_EQ(r.out.find("hidden"), std::string::npos) << mode;
  }
  // A results line is the first heading pair's texts, a blank between them.
  EXPECT_EQ(run({"fulltext", "!river & !letter", m_path}).out, "river\n");
  EXPECT_EQ(run({"fulltext", "r@v@r", m_path, m_other}).out,
            "# 1 defs (2)\ncaf\xC3\xA9 1\ndelta\n# 2 other (1)\nriver\n");
}

}  // namespace
}  // namespace qel
