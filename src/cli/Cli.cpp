// Dispatch of qel-cli commands.
#include "cli/Cli.h"

#include <cerrno>
#include <cstring>
#include <ostream>

#include "cli/OutputBuffer.h"
#include "platform/Cp1252.h"

namespace qel::cli {
namespace {

constexpr char kUsage[] =
    "usage:\n"
    "  qel-cli build [--description TEXT] [--shortest N] [--longest N] [--common P]\n"
    "                [--encoding utf-8|cp1252] SOURCE OUT.qcd\n"
    "  qel-cli info DICT...\n"
    "  qel-cli list [--length L] DICT\n"
    "  qel-cli search [options] PATTERN DICT...\n"
    "      --shortest N --longest N --at TEXT --hash TEXT --no-exclusive --no-annotations\n"
    "      --no-balances --no-lower --no-upper --no-punctuation --no-phrases --sort --descending\n"
    "      --no-group --group-descending --mode suppress|independent|active --active N\n"
    "      --entries-only --no-cache\n"
    "  qel-cli define WORD DICT...\n"
    "  qel-cli fulltext [search options] [--sequential] [--bodies] PATTERN DICT...\n"
    "A search keeps each dictionary's decoded words in $XDG_CACHE_HOME/qel (~/.cache/qel) for the\n"
    "next one; --no-cache, or QEL_NO_CACHE set to anything but 0, searches without.\n";

constexpr char kVersion[] = "qel-cli 2.5\n";

// The usage lines of one command: from its own line to the next command's.
std::string usageOf(const std::string& command) {
  const std::string usage = kUsage;
  const size_t start = usage.find("  qel-cli " + command + " ");
  if (start == std::string::npos) return usage;
  const size_t end = usage.find("\n  qel-cli ", start + 1);
  return "usage:\n" + usage.substr(start, end == std::string::npos ? end : end - start + 1);
}

bool asksForHelp(const std::vector<std::string>& args) {
  for (const std::string& a : args) {
    if (a == "--") return false;
    if (a == "--help" || a == "-h") return true;
  }
  return false;
}

int dispatch(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
    (args.empty() ? err : out) << kUsage;
    return args.empty() ? kError : kFound;
  }
  if (args[0] == "--version") {
    out << kVersion;
    return kFound;
  }
  const std::string& command = args[0];
  const std::vector<std::string> rest(args.begin() + 1, args.end());
  if (kUsage != usageOf(command) && asksForHelp(rest)) {
    out << usageOf(command);
    return kFound;
  }
  if (command == "build") return buildCommand(rest, out, err);
  if (command == "info") return infoCommand(rest, out, err);
  if (command == "list") return listCommand(rest, out, err);
  if (command == "search") return searchCommand(rest, out, err);
  if (command == "define") return defineCommand(rest, out, err);
  if (command == "fulltext") return fulltextCommand(rest, out, err);
  err << "qel-cli: unknown command \"" << command << "\"\n" << kUsage;
  return kError;
}

}  // namespace

bool reportChanged(const std::optional<std::string>& path, const std::string& command,
                   std::ostream& err) {
  if (!path) return false;
  err << "qel-cli " << command << ": Dictionary Invalidated: " << cp1252::toUtf8(*path)
      << " changed while it was being read\n";
  return true;
}

int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const int status = dispatch(args, out, err);
  // A failed write leaves the stream failed for good, so this one check covers every write and
  // the final flush.
  if (out.flush()) return status;
  const int error = outputError(out);
  // The reader went away (as "| head -1" does): nothing is wrong that the user needs to hear.
  if (error == EPIPE) return kError;
  err << "qel-cli: cannot write the output"
      << (error != 0 ? std::string(": ") + std::strerror(error) : std::string()) << "\n";
  return kError;
}

}  // namespace qel::cli
