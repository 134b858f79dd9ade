// The qel-cli commands as functions over arguments and output streams, so tests run them in
// process. Text arguments and output are UTF-8; the core works in code page 1252.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace qel {
class QCDictionaryList;
}

namespace qel::cli {

// Exit statuses of the tool.
inline constexpr int kFound = 0;
inline constexpr int kNothingFound = 1;
inline constexpr int kError = 2;

// Says on `err` that a dictionary file changed while the command read it, when one did (the
// command then exits with kError); with the list it was read through, why it is no dictionary
// now, when it is not.
bool reportChanged(const std::optional<std::string>& path, const std::string& command,
                   std::ostream& err, const QCDictionaryList* list = nullptr);

// Runs one command line (without the program name).
int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

int buildCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int infoCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int listCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int searchCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int defineCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int fulltextCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int anagramsCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace qel::cli
