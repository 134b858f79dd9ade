#include "BenchDictionaries.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "maintenance/DictionaryBuilder.h"
#include "maintenance/FoldTable.h"
#include "maintenance/LineListSource.h"
#include "platform/Cp1252.h"

namespace qel::bench {
namespace {}  // namespace

const std::vector<std::string>& wordListSource() {
  static const std::vector<std::string> lines = [] {
    std::vector<std::string> out;
    std::ifstream in("/usr/share/dict/british-english-huge");
    std::string line, converted;
    while (std::getline(in, line)) {
      if (!cp1252::fromUtf8(line, converted)) continue;
      std::string escaped;
      for (char c : converted) {
        if (c == ':' || c == ';' || c == '|' || c == '+' || c == '\\') escaped += '\\';
        escaped += c;
      }
      out.push_back(escaped);
    }
    return out;
  }();
  return lines;
}

bool buildWordList(const std::string& path) {
  LineListSource source(wordListSource());
  BuildParameters p;
  p.fold = lowerCaseFoldTable();
  p.outputPath = path;
  p.description = "benchmark word list";
  return buildDictionary(source, p);
}

const std::string& wordListDictionary() {
  static const std::string path = [] {
    const std::string p = (std::filesystem::temp_directory_path() /
                           ("qel-bench-" + std::to_string(getpid()) + ".qcd"))
                              .string();
    if (!buildWordList(p)) std::abort();
    std::atexit([] { std::filesystem::remove(wordListDictionary()); });
    return p;
  }();
  return path;
}

std::string defaultDictionary() {
  const auto self = std::filesystem::read_symlink("/proc/self/exe").parent_path();
  // Beside the benchmark, in its build folder, or in the main build folder next to that.
  const auto build = self.parent_path();
  for (const auto& candidate :
       {self / "Dictionaries/Devuduvodi.qcd", build / "Dictionaries/Devuduvodi.qcd",
        build.parent_path() / "build/Dictionaries/Devuduvodi.qcd"}) {
    if (std::filesystem::exists(candidate)) return candidate.string();
  }
  return std::string();
}

}  // namespace qel::bench
