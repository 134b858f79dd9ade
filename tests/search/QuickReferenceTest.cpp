// The Quick Reference examples, searched through qel-cli on the default dictionary when it has
// been built beside the programs.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "support/CliRun.h"

namespace qel {
namespace {

std::string defaultDictionary() {
  const auto path =
      std::filesystem::path(QEL_CLI_PATH).parent_path() / "Dictionaries" / "Devuduvodi.qcd";
  return std::filesystem::exists(path) ? path.string() : std::string();
}

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) out.push_back(line);
  return out;
}

TEST(QuickReference, EveryExampleFindsItsWordOnTheDefaultDictionary) {
  const std::string dictionary = defaultDictionary();
  if (dictionary.empty()) GTEST_SKIP() << "the default dictionary has not been built";
  const struct {
    const char* pattern;
    const char* result;  // as listed: entry, then the balance where there is one
  } examples[] = {
      {".l...r.n", "electron"},
      {";lobikes", "obelisk"},
      {"m*ja", "maharaja"},
      {";diners[ai]", "sardine"},
      {"......*;gdangboot", "toboggan -d"},
      {"12341234", "beriberi"},
      {"...-..-.....", "fly-by-night"},
      {";..oting & ! *ing", "tonight"},
      {"@#@#@#@#@#@", "imaginative"},
      {";rebel(ada)", "readable"},
      {";..oting", "tonight +ht"},
  };
  for (const auto& e : examples) {
    const auto run = test::runCli({"search", e.pattern, dictionary});
    EXPECT_EQ(run.status, cli::kFound) << e.pattern << ": " << run.err;
    const auto found = lines(run.out);
    EXPECT_NE(std::find(found.begin(), found.end(), e.result), found.end())
        << e.pattern << " should list \"" << e.result << "\"";
  }
}

TEST(QuickReference, FullTextSearchFindsAWordFromItsMeaning) {
  const std::string dictionary = defaultDictionary();
  if (dictionary.empty()) GTEST_SKIP() << "the default dictionary has not been built";
  const auto run = test::runCli({"fulltext", "particle & charge & negative", dictionary});
  EXPECT_EQ(run.status, cli::kFound) << run.err;
  EXPECT_NE(run.out.find("electron"), std::string::npos) << run.out;
  const auto bank = test::runCli({"define", "bank", dictionary});
  EXPECT_EQ(bank.status, cli::kFound);
  EXPECT_NE(bank.out.find("sloping land"), std::string::npos) << bank.out.substr(0, 400);
}

}  // namespace
}  // namespace qel
