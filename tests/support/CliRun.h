// Runs qel-cli commands in process and keeps what they print.
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "cli/Cli.h"

namespace qel::test {

struct CliRun {
  int status;
  std::string out;
  std::string err;
};

inline CliRun runCli(const std::vector<std::string>& args) {
  std::ostringstream out, err;
  const int status = cli::run(args, out, err);
  return {status, out.str(), err.str()};
}

}  // namespace qel::test
