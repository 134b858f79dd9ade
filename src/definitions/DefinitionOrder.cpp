#include "definitions/DefinitionOrder.h"

#include <algorithm>
#include <utility>

#include "definitions/NaturalCompare.h"

namespace qel {
namespace {

const std::string& firstSortText(const Definition& d) {
  return d.firstTexts.empty() ? d.entryText : d.firstTexts.front();
}

const std::string& secondSortText(const Definition& d) {
  return d.secondTexts.empty() ? d.entryText : d.secondTexts.front();
}

}  // namespace

std::string headingOf(const Definition& definition) {
  if (definition.firstTexts.empty()) return definition.entryText;
  std::string heading = definition.firstTexts.front();
  const std::string second = definition.secondTexts.empty() ? "" : definition.secondTexts.front();
  // "obelisk" and "(noun 1)" read as "obelisk (noun 1)"; the comparisons skip the blank anyway.
  if (!heading.empty() && !second.empty() && heading.back() != ' ' && second.front() != ' ') {
    heading += ' ';
  }
  return heading + second;
}

void chooseHeadingPairs(std::vector<Definition>& definitions, std::string_view key) {
  for (Definition& d : definitions) {
    const size_t pairs = std::min(d.firstTexts.size(), d.secondTexts.size());
    size_t chosen = 0;
    int best = -1;
    for (size_t i = 0; i < pairs; ++i) {
      int length = 0;
      const bool equal = naturalCompare(d.firstTexts[i] + d.secondTexts[i], key, &length) == 0;
      if (equal || length > best || (length == best && d.firstTexts[i] == key)) {
        chosen = i;
        best = length;
      }
    }
    if (chosen != 0) {
      std::swap(d.firstTexts[0], d.firstTexts[chosen]);
      std::swap(d.secondTexts[0], d.secondTexts[chosen]);
    }
  }
}

void sortDefinitions(std::vector<Definition>& definitions) {
  std::stable_sort(definitions.begin(), definitions.end(),
                   [](const Definition& a, const Definition& b) {
                     if (a.dictionaryNumber != b.dictionaryNumber) {
                       return a.dictionaryNumber < b.dictionaryNumber;
                     }
                     const int first = naturalCompare(firstSortText(a), firstSortText(b));
                     if (first != 0) return first < 0;
                     return naturalCompare(secondSortText(a), secondSortText(b)) < 0;
                   });
}

int initialDefinition(const std::vector<Definition>& definitions, std::string_view key,
                      std::string_view preferredPath) {
  if (definitions.empty()) return -1;
  const int firstDictionary = definitions.front().dictionaryNumber;
  int chosen = -1;
  int best = 0;
  for (size_t i = 0; i < definitions.size(); ++i) {
    const Definition& d = definitions[i];
    if (d.dictionaryNumber != firstDictionary && d.dictionaryPath != preferredPath) continue;
    int length = 0;
    const bool equal = naturalCompare(headingOf(d), key, &length) == 0;
    if (equal || length > best) {
      chosen = static_cast<int>(i);
      best = std::max(best, length);
    }
  }
  return chosen;
}

}  // namespace qel
