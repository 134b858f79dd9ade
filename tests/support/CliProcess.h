// Runs the qel-cli program itself through the shell, for what only a whole process shows: an
// output that cannot be written, a file that would block, a replaced dictionary. Every run is
// bounded by a timeout, so a program that blocks fails its test instead of stopping the suite.
#pragma once

#include <string>
#include <vector>

namespace qel::test {

struct ProcessRun {
  int status = -1;  // exit status; 124 when the timeout ended it, 128 + N after signal N
  std::string out;  // standard output, when `stdoutRedirection` left it to the run
  std::string err;
};

// The argument quoted for the shell.
std::string shellQuoted(const std::string& argument);

// Runs qel-cli with `args`; `stdoutRedirection` replaces the capture of standard output (for
// example "> /dev/full", ">&-" or "| head -1").
ProcessRun runCliProcess(const std::vector<std::string>& args,
                         const std::string& stdoutRedirection = std::string(),
                         int timeoutSeconds = 20);

}  // namespace qel::test
