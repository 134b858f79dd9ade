// Dispatch of qel-cli commands.
#include "cli/Cli.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ostream>

#include "cli/OutputBuffer.h"
#include "dictionary/Dictionary.h"
#include "dictionary/QCDictionaryList.h"
#include "platform/Cp1252.h"
#include "platform/Version.h"

namespace qel::cli {
namespace {

// The help: a "Usage:" line and an "or:" line per command, then the options, laid out as help2man
// reads them (the manual page is made from this text). A command's own --help shows its line and
// the blocks it names.
constexpr char kBuildOptions[] =
    "Build options:\n"
    "  --description TEXT          the text shown in the dictionary's properties\n"
    "  --shortest N, --longest N   leave out the entries of other lengths\n"
    "  --common P                  leave a word found in more than P percent of the\n"
    "                              definitions out of the index (default 0: none)\n"
    "  --encoding utf-8|cp1252     the encoding of SOURCE (utf-8 by default)\n"
    "  --ranks FILE                how common each entry is: lines of an entry, a tab\n"
    "                              and a rank from 1 (most common) to 100, kept\n"
    "                              beside OUT.qcd as OUT.qcr\n";

constexpr char kSearchOptions[] =
    "Search options (search and fulltext):\n"
    "  --shortest N, --longest N   the lengths searched (1 and 31 by default)\n"
    "  --at TEXT, --hash TEXT      what @ and # stand for ([aeiou] and [^aeiou] by\n"
    "                              default); an empty TEXT makes the character plain\n"
    "  --no-exclusive              let different letter variables be the same letter\n"
    "  --no-annotations            leave out the entries' annotations\n"
    "  --no-balances               leave out the anagram balances\n"
    "  --no-lower                  leave out the words in lower case only (tail)\n"
    "  --no-upper                  leave out the words with capitals (Charlie)\n"
    "  --no-punctuation            leave out the words with punctuation (tail-end)\n"
    "  --no-phrases                leave out the phrases (tail end)\n"
    "  --sort                      sort alphabetically\n"
    "  --sort common               the most common words first (within each length\n"
    "                              group), by the ranks beside the dictionary\n"
    "  --max-rank N                leave out the words rarer than rank N\n"
    "  --ranks                     print each result's rank after a tab (100 for an\n"
    "                              unranked word)\n"
    "  --descending                with --sort or --no-group, from z to a\n"
    "  --no-group                  do not group by length (and sort alphabetically)\n"
    "  --group-descending          list the longest words first\n"
    "  --mode suppress|independent|active\n"
    "                              with several dictionaries: list a word only in the\n"
    "                              first that has it (suppress, the default), in\n"
    "                              every one that has it (independent), or search\n"
    "                              one dictionary only (active)\n"
    "  --active N                  which dictionary --mode active searches, from 1\n"
    "  --entries-only              print the entries alone, without annotation and\n"
    "                              anagram balance\n"
    "  --no-cache                  search without the cache of decoded words\n"
    "  --no-work-limit             go on with a pattern that needs so much work that\n"
    "                              the search would otherwise stop with part of its\n"
    "                              answer (after some 30 seconds of matching)\n";

constexpr char kAnagramsOptions[] =
    "Anagrams options:\n"
    "  --words N                   at most N words in a combination, from 1 to 6 (3 by\n"
    "                              default), those of --contains included\n"
    "  --shortest N                use no word shorter than N letters\n"
    "  --contains WORD             put WORD in every combination, its letters taken\n"
    "                              out first (may be repeated)\n"
    "  --pattern PAT               use only words that match the pattern PAT\n"
    "  --phrases                   use the entries with blanks or punctuation too\n"
    "  --limit N                   stop after N combinations (100000 by default)\n"
    "  --no-cache                  search without the cache of decoded words\n";

constexpr char kCacheNote[] =
    "A search keeps each dictionary's decoded words in $XDG_CACHE_HOME/qel\n"
    "(~/.cache/qel) for the next one; --no-cache, or QEL_NO_CACHE set to anything\n"
    "but 0, searches without.\n";

struct CommandHelp {
  const char* name;
  const char* synopsis;   // after "qel-cli "
  const char* blocks[2];  // shown below the usage lines, each block once
};

constexpr CommandHelp kCommands[] = {
    {"build", "build [options] SOURCE OUT.qcd", {kBuildOptions, nullptr}},
    {"info", "info DICT...", {nullptr, nullptr}},
    {"list", "list [--length L] DICT", {nullptr, nullptr}},
    {"search", "search [options] PATTERN DICT...", {kSearchOptions, kCacheNote}},
    {"define", "define WORD DICT...", {nullptr, nullptr}},
    {"fulltext",
     "fulltext [options] [--sequential] [--bodies] PATTERN DICT...",
     {kSearchOptions, nullptr}},
    {"anagrams", "anagrams [options] LETTERS DICT", {kAnagramsOptions, kCacheNote}},
};

const CommandHelp* commandHelp(const std::string& name) {
  for (const CommandHelp& c : kCommands) {
    if (name == c.name) return &c;
  }
  return nullptr;
}

// The help of one command, or of all of them when `only` is null.
std::string usage(const CommandHelp* only = nullptr) {
  std::string text;
  std::vector<const char*> blocks;
  for (const CommandHelp& c : kCommands) {
    if (only != nullptr && only != &c) continue;
    text.append(text.empty() ? "Usage: qel-cli " : "  or:  qel-cli ").append(c.synopsis) += '\n';
    for (const char* block : c.blocks) {
      if (block != nullptr && std::find(blocks.begin(), blocks.end(), block) == blocks.end())
        blocks.push_back(block);
    }
  }
  if (only == nullptr) text += "  or:  qel-cli COMMAND --help\n  or:  qel-cli --version\n";
  for (const char* block : blocks) text.append("\n").append(block);
  return text;
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
    (args.empty() ? err : out) << usage();
    return args.empty() ? kError : kFound;
  }
  if (args[0] == "--version") {
    out << "qel-cli " << kVersion << "\n";
    return kFound;
  }
  const std::string& command = args[0];
  const std::vector<std::string> rest(args.begin() + 1, args.end());
  if (const CommandHelp* help = commandHelp(command); help != nullptr && asksForHelp(rest)) {
    out << usage(help);
    return kFound;
  }
  if (command == "build") return buildCommand(rest, out, err);
  if (command == "info") return infoCommand(rest, out, err);
  if (command == "list") return listCommand(rest, out, err);
  if (command == "search") return searchCommand(rest, out, err);
  if (command == "define") return defineCommand(rest, out, err);
  if (command == "fulltext") return fulltextCommand(rest, out, err);
  if (command == "anagrams") return anagramsCommand(rest, out, err);
  err << "qel-cli: unknown command \"" << command << "\"\n" << usage();
  return kError;
}

}  // namespace

bool reportChanged(const std::optional<std::string>& path, const std::string& command,
                   std::ostream& err, const QCDictionaryList* list) {
  if (!path) return false;
  err << "qel-cli " << command << ": Dictionary Invalidated: " << cp1252::toUtf8(*path);
  // Read again, or found damaged: the reading says why it is no dictionary now.
  for (int i = 0; list != nullptr && i < list->count(); ++i) {
    const Status& status = list->dictionary(i).status();
    if (list->path(i) == *path && !status.ok()) {
      err << " " << kNoLongerValidDictionaryText << ": " << cp1252::toUtf8(status.reason()) << "\n";
      return true;
    }
  }
  err << " changed while it was being read\n";
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
