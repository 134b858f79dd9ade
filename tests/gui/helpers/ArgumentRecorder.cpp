// A program for the lookup tests to start: writes its arguments, one per line, to the file that
// QEL_TEST_ARGUMENTS_FILE names. Written beside it and renamed, so a reader never sees half.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

int main(int argc, char** argv) {
  const char* path = std::getenv("QEL_TEST_ARGUMENTS_FILE");
  if (path == nullptr) return 2;
  const std::string partial = std::string(path) + ".partial";
  {
    std::ofstream out(partial, std::ios::binary);
    for (int i = 1; i < argc; ++i) out << argv[i] << '\n';
    if (!out) return 1;
  }
  return std::rename(partial.c_str(), path) == 0 ? 0 : 1;
}
