// qel-cli info and list: what a dictionary holds, read back through the enumerator.
#include <cstring>
#include <ostream>

#include "cli/Arguments.h"
#include "cli/Cli.h"
#include "cli/InvalidDictionary.h"
#include "dictionary/DictionaryWatch.h"
#include "dictionary/EntryEnumerator.h"
#include "dictionary/QCDictionaryList.h"
#include "platform/Cp1252.h"

namespace qel::cli {

int infoCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.empty()) {
    err << "qel-cli info: give at least one DICT\n";
    return kError;
  }
  int status = kFound;
  for (size_t k = 0; k < args.size() && out; ++k) {
    QCDictionaryList list(std::vector<std::string>{args[k]});
    if (k > 0) out << "\n";
    out << cp1252::toUtf8(list.propertiesText(0)) << "\n";
    out << "Location: " << list.path(0) << "\n";
    if (!list.recheck(0)) {
      reportInvalidDictionary(list, 0, err);
      status = kError;
      continue;
    }
    const auto s = list.statistics(0);
    out << "Date: " << list.fileDateText(0) << "\n";
    out << "Shortest: " << s.shortest << "\nLongest: " << s.longest << "\n";
    out << "Full-text index: " << (list.hasFullTextIndex(0) ? "yes" : "no") << "\n";
    out << "Entries by length:";
    for (int length = 1; length < s.slotCount; ++length) {
      if (list.entryCount(0, length) > 0) out << " " << length << ":" << list.entryCount(0, length);
    }
    out << "\n";
  }
  return status;
}

int listCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  Arguments a;
  int only = 0;
  if (!a.parse(args, {"length"}, {}) || !a.number("length", only)) {
    err << "qel-cli list: " << a.error() << "\n";
    return kError;
  }
  if (a.positional().size() != 1) {
    err << "qel-cli list: give one DICT\n";
    return kError;
  }
  QCDictionaryList list(std::vector<std::string>{a.positional()[0]});
  if (!list.recheck(0)) {
    reportInvalidDictionary(list, 0, err);
    return kError;
  }
  const DictionaryWatch watch(list);
  EntryEnumerator enumerator(list, 0);
  long listed = 0;
  std::string line;
  for (int length = 1; length < list.slotCount(0) && out; ++length) {
    if ((only != 0 && length != only) || !enumerator.selectLength(length)) continue;
    while (out) {
      const uint8_t* letters = enumerator.next(nullptr);
      if (letters[0] == kEndOfLetters) break;
      line = enumerator.text();
      for (const char* part = enumerator.annotation(); part && *part; part += strlen(part) + 1) {
        line += '\t';
        line += part;
      }
      out << cp1252::toUtf8(line) << '\n';
      ++listed;
    }
    if (enumerator.invalidated()) break;
  }
  if (reportChanged(watch.changed(), "list", err)) return kError;
  return listed > 0 ? kFound : kNothingFound;
}

}  // namespace qel::cli
