// Files a fuzz target writes its inputs to: one set per process under /tmp, removed when the
// process exits (libFuzzer ends its runs with exit()), so that runs leave nothing behind.
#pragma once

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace qel::fuzz {

inline std::vector<std::string>& scratchFiles() {
  static std::vector<std::string> files;
  return files;
}

// "/tmp/qel-fuzz-<target>-<pid><suffix>", removed at exit.
inline std::string scratchFile(const std::string& target, const std::string& suffix) {
  static const bool removesAtExit = [] {
    scratchFiles();  // made before the handler is registered, so that it is destroyed after it ran
    return std::atexit([] {
             for (const std::string& file : scratchFiles()) std::remove(file.c_str());
           }) == 0;
  }();
  (void)removesAtExit;
  std::string path = "/tmp/qel-fuzz-" + target + "-" + std::to_string(::getpid()) + suffix;
  std::vector<std::string>& files = scratchFiles();
  if (std::find(files.begin(), files.end(), path) == files.end()) files.push_back(path);
  return path;
}

}  // namespace qel::fuzz
