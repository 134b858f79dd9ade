#include "support/CliProcess.h"

#include <sys/wait.h>

#include <cstdlib>

#include "support/TestDictionaries.h"

namespace qel::test {

std::string shellQuoted(const std::string& argument) {
  std::string quoted = "'";
  for (char c : argument) {
    if (c == '\'') {
      quoted += "'\\''";
    } else {
      quoted += c;
    }
  }
  return quoted + "'";
}

ProcessRun runCliProcess(const std::vector<std::string>& args, const std::string& stdoutRedirection,
                         int timeoutSeconds) {
  TempDir dir;
  const std::string outFile = dir.file("out"), errFile = dir.file("err");
  std::string command =
      "timeout " + std::to_string(timeoutSeconds) + " " + shellQuoted(QEL_CLI_PATH);
  for (const std::string& a : args) command += " " + shellQuoted(a);
  command += " 2>" + shellQuoted(errFile) + " ";
  command += stdoutRedirection.empty() ? ">" + shellQuoted(outFile) : stdoutRedirection;
  ProcessRun run;
  const int raw = std::system(("{ " + command + "; } </dev/null").c_str());
  run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
  run.out = readFile(outFile);
  run.err = readFile(errFile);
  return run;
}

}  // namespace qel::test
