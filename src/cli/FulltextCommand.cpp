// qel-cli fulltext: the definitions whose text holds words that match a pattern, found through the
// index when it can answer and by reading the definitions otherwise.
#include <ostream>

#include "app/Messages.h"
#include "cli/Arguments.h"
#include "cli/Cli.h"
#include "dictionary/DefinitionText.h"
#include "dictionary/QCDictionaryDefinitionRetriever.h"
#include "dictionary/QCDictionaryDefinitionSearchIndexed.h"
#include "dictionary/QCDictionaryDefinitionSearchSequential.h"
#include "dictionary/QCDictionaryList.h"
#include "pattern/MacroExpansion.h"
#include "pattern/MatchEngineSet.h"
#include "platform/Cp1252.h"

namespace qel::cli {
namespace {

constexpr char kNotValidSuffix[] = "\nis not a valid QEL&Corvanth Dictionary File";
constexpr int kSequentialBudget = 200;

struct Found {
  std::string text;  // heading and its second text, as a results list shows them
  uint32_t recordOffset;
};

std::string cut(const std::string& text) {
  return text.substr(0, QCDictionaryDefinitionSearchSequential::kMaxHeading);
}

void searchDictionary(const QCDictionaryList& list, int i, MatchEngineSet& patterns,
                      bool sequentialOnly, std::vector<Found>& found) {
  if (!sequentialOnly) {
    QCDictionaryDefinitionSearchIndexed indexed(list, i, patterns);
    if (indexed.usable()) {
      Definition d;
      while (indexed.next(d)) {
        const std::string first = d.firstTexts.empty() ? "" : cut(d.firstTexts[0]);
        const std::string second = d.secondTexts.empty() ? "" : cut(d.secondTexts[0]);
        found.push_back({first + second, d.recordOffset});
      }
      return;
    }
  }
  QCDictionaryDefinitionSearchSequential sequential(list, i, patterns);
  for (;;) {
    const auto step = sequential.next(kSequentialBudget);
    if (step == QCDictionaryDefinitionSearchSequential::Step::Finished) break;
    if (step == QCDictionaryDefinitionSearchSequential::Step::Hit) {
      found.push_back(
          {sequential.heading() + sequential.secondHeading(), sequential.recordOffset()});
    }
  }
}

}  // namespace

int fulltextCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  Arguments a;
  int shortest = 1, longest = 31;
  if (!a.parse(args, {"shortest", "longest", "at", "hash"}, {"sequential", "bodies"}) ||
      !a.number("shortest", shortest) || !a.number("longest", longest)) {
    err << "qel-cli fulltext: " << a.error() << "\n";
    return kError;
  }
  const auto& positional = a.positional();
  if (positional.size() < 2) {
    err << "qel-cli fulltext: give a PATTERN and at least one DICT\n";
    return kError;
  }
  std::string text, at(kDefaultAtExpansion), hash(kDefaultHashExpansion);
  if (!cp1252::fromUtf8(positional[0], text) ||
      (a.value("at") && !cp1252::fromUtf8(*a.value("at"), at)) ||
      (a.value("hash") && !cp1252::fromUtf8(*a.value("hash"), hash))) {
    err << "qel-cli fulltext: the pattern holds a character that dictionaries cannot hold\n";
    return kError;
  }
  text = expandMacros(text, at, hash);

  std::string listText;
  for (size_t k = 1; k < positional.size(); ++k) listText += (k > 1 ? ";" : "") + positional[k];
  QCDictionaryList list(listText);
  if (const auto bad = list.firstInvalidPath()) {
    err << *bad << kNotValidSuffix << "\n";
    return kError;
  }

  long total = 0;
  for (int i = 0; i < list.count(); ++i) {
    MatchEngineSet patterns;
    if (const uint8_t error = patterns.parse(list.alphabet(i), text, shortest, longest)) {
      err << "Devuduvodi: " << messageText(kPatternErrorMessages + error) << "\n";
      return kError;
    }
    std::vector<Found> found;
    if (list.hasFullTextIndex(i)) searchDictionary(list, i, patterns, a.has("sequential"), found);
    if (list.count() > 1) {
      out << "# " << i + 1 << " " << cp1252::toUtf8(list.name(i)) << " (" << found.size() << ")\n";
    }
    QCDictionaryDefinitionRetriever retriever(list, i);
    for (const Found& f : found) {
      out << cp1252::toUtf8(f.text) << "\n";
      Definition d;
      if (a.has("bodies") && retriever.read(f.recordOffset, d)) {
        std::string body = definitionPlainText(d.body);
        size_t start = 0;
        while (start < body.size()) {
          size_t end = body.find('\n', start);
          if (end == std::string::npos) end = body.size();
          out << "    " << cp1252::toUtf8(body.substr(start, end - start)) << "\n";
          start = end + 1;
        }
      }
    }
    total += static_cast<long>(found.size());
  }
  return total > 0 ? kFound : kNothingFound;
}

}  // namespace qel::cli
