// The command line of the window programs: --help and --version answered on the terminal, with or
// without a display, naming the program as the user knows it rather than by the path it was
// started from; and the file arguments each program takes.
#pragma once

#include <QString>
#include <QStringList>

namespace qel {

struct ProgramDescription {
  const char* name;         // "qel"
  const char* description;  // one line
  const char* arguments;    // "[dictionary...]"
  const char* argumentHelp;
};

// With --help or --version among the arguments, prints the answer and returns true (the program
// then ends with status 0). Call before the application object exists.
bool answersInformation(int argc, char** argv, const ProgramDescription& program);

// The file arguments (after options), or, for a wrong option, prints the reason and the usage
// and ends the program with status 2. Call once the application object exists.
QStringList fileArguments(const ProgramDescription& program);

}  // namespace qel
