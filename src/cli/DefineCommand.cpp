// qel-cli define: the stored definitions of a word, headings and body as text.
#include <ostream>

#include "cli/Cli.h"
#include "cli/InvalidDictionary.h"
#include "definitions/RichTextPlain.h"
#include "dictionary/DefinitionsOfWord.h"
#include "dictionary/DictionaryWatch.h"
#include "dictionary/QCDictionaryList.h"
#include "platform/Cp1252.h"
#include "search/ResultRecord.h"

namespace qel::cli {

// The heading line of a definition: each heading pair's first text and then its second text, as
// a results list shows them, or the entry text for a record without pairs.
std::string definitionHeading(const Definition& d) {
  if (d.firstTexts.empty()) return d.entryText;
  std::string heading;
  for (size_t k = 0; k < d.firstTexts.size(); ++k) {
    if (k > 0) heading += "; ";
    heading += d.firstTexts[k];
    if (k < d.secondTexts.size()) heading += separated(d.secondTexts[k]);
  }
  return heading;
}

void printDefinition(const Definition& d, std::ostream& out) {
  out << cp1252::toUtf8(definitionHeading(d)) << "\n";
  std::string body = rtf::plainText(d.body);
  while (!body.empty() && (body.back() == '\n' || body.back() == '\r')) body.pop_back();
  out << cp1252::toUtf8(body) << "\n";
}

int defineCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.size() < 2) {
    err << "qel-cli define: give a WORD and at least one DICT\n";
    return kError;
  }
  std::string word;
  if (!cp1252::fromUtf8(args[0], word)) {
    err << "qel-cli define: the word holds a character that dictionaries cannot hold\n";
    return kError;
  }
  // The paths as given, one by one: a path may hold the ";" of a list text.
  QCDictionaryList list(std::vector<std::string>(args.begin() + 1, args.end()));
  if (reportFirstInvalidDictionary(list, err)) return kError;
  std::vector<Definition> definitions;
  const DictionaryWatch watch(list);
  definitionsOfWord(list, word, definitions);
  if (reportChanged(watch.changed(), "define", err)) return kError;
  int shown = -1;
  for (size_t k = 0; k < definitions.size() && out; ++k) {
    const Definition& d = definitions[k];
    if (k > 0) out << "\n";
    if (list.count() > 1 && d.dictionaryNumber != shown) {
      long count = 0;
      for (const Definition& e : definitions) count += e.dictionaryNumber == d.dictionaryNumber;
      out << "# " << d.dictionaryNumber + 1 << " " << list.name(d.dictionaryNumber) << " (" << count
          << ")\n";
      shown = d.dictionaryNumber;
    }
    printDefinition(d, out);
  }
  return definitions.empty() ? kNothingFound : kFound;
}

}  // namespace qel::cli
