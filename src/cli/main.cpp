// qel-cli: the command-line front end of QEL.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <iostream>
#include <new>
#include <string>
#include <vector>

#include "cli/Cli.h"
#include "cli/OutputBuffer.h"
#include "platform/TemporaryFiles.h"

namespace {

// A standard stream closed by the caller gets /dev/null, read-only, in its place: a file opened
// later cannot take its number and receive the output, and writes to it still fail, so a closed
// standard output is reported like any other that cannot be written.
void occupyClosedStandardStreams() {
  for (int fd = 0; fd <= 2; ++fd) {
    if (::fcntl(fd, F_GETFD) == -1 && errno == EBADF) ::open("/dev/null", O_RDONLY);
  }
}

}  // namespace

int main(int argc, char** argv) {
  occupyClosedStandardStreams();
  // A search or build stopped with Ctrl+C leaves no half-written file behind.
  qel::temporary_files::removeOnSignal();
  const std::vector<std::string> args(argv + 1, argv + argc);
  qel::cli::OutputBuffer buffer(STDOUT_FILENO);
  std::ostream out(&buffer);
  try {
    return qel::cli::run(args, out, std::cerr);
  } catch (const std::bad_alloc&) {
    std::cerr << "qel-cli: out of memory\n";
    return qel::cli::kError;
  }
}
