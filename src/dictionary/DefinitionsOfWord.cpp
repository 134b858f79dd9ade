#include "dictionary/DefinitionsOfWord.h"

#include <cstring>
#include <string>
#include <unordered_set>

#include "dictionary/DefinitionReferences.h"
#include "dictionary/EntryEnumerator.h"
#include "dictionary/FileFormat.h"
#include "dictionary/QCDictionaryDefinitionRetriever.h"
#include "dictionary/QCDictionaryList.h"

namespace qel {
namespace {

// Accepts the entries whose letter string is exactly the given one.
class SameLetters : public EntryFilter {
 public:
  explicit SameLetters(std::string letters) : m_letters(std::move(letters)) {}
  bool accepts(const uint8_t* letters, int length, const char*) override {
    return static_cast<size_t>(length) == m_letters.size() &&
           std::memcmp(letters, m_letters.data(), m_letters.size()) == 0;
  }

 private:
  std::string m_letters;
};

// The word reduced to its letters, each written as the alphabet shows it.
std::string lettersOnly(const Alphabet& alphabet, std::string_view word) {
  std::string text;
  for (char c : word) {
    const uint8_t index = alphabet.letterIndex[static_cast<uint8_t>(c)];
    if (index != kNotALetter) text.push_back(static_cast<char>(alphabet.character[index]));
  }
  return text;
}

}  // namespace

void definitionsOfWord(QCDictionaryList& list, std::string_view word,
                       std::vector<Definition>& definitions) {
  std::string text;
  bool haveText = false;
  for (int i = 0; i < list.count(); ++i) {
    if (!list.recheck(i)) continue;
    // The first dictionary of the list decides what the letters are; when it is unusable the
    // first usable one does, rather than an alphabet that was never read.
    if (!haveText) {
      text = lettersOnly(list.alphabet(i), word);
      haveText = true;
    }
    const int length = static_cast<int>(text.size());
    if (length < 1 || length > format::kMaxEntryLength) return;

    // The letters in this dictionary's own letter indices; a character that is no letter here
    // cannot match any of its entries.
    std::string letters;
    for (char c : text)
      letters.push_back(static_cast<char>(list.letterIndex(i, static_cast<uint8_t>(c))));
    if (letters.find(static_cast<char>(kNotALetter)) != std::string::npos) continue;

    const size_t first = definitions.size();
    std::unordered_set<uint32_t> seen;
    std::vector<uint32_t> offsets;
    SameLetters filter(letters);
    EntryEnumerator enumerator(list, i);
    DefinitionReferences references(list, i);
    if (!enumerator.selectLength(length) || !references.isOpen()) continue;
    while (enumerator.next(&filter)[0] != kEndOfLetters) {
      const std::optional<int> number = enumerator.referenceNumber();
      if (!number) continue;
      offsets.clear();
      references.references(false, length, *number, enumerator.groupState(), offsets);
      for (uint32_t offset : offsets) {
        if (!seen.insert(offset).second) continue;
        Definition d;
        d.dictionaryNumber = i;
        d.recordOffset = offset;
        d.entryText = enumerator.text();
        definitions.push_back(std::move(d));
      }
    }

    // A reference that leads to no record of the file is dropped rather than shown empty.
    QCDictionaryDefinitionRetriever retriever(list, i);
    size_t kept = first;
    for (size_t k = first; k < definitions.size(); ++k) {
      if (!retriever.read(definitions[k].recordOffset, definitions[k])) continue;
      if (kept != k) definitions[kept] = std::move(definitions[k]);
      ++kept;
    }
    definitions.resize(kept);
  }
}

std::vector<std::string> lookupDictionaryPaths(const std::vector<std::string>& open,
                                               std::string_view definitionListText) {
  std::string openText;
  for (const std::string& path : open) openText += (openText.empty() ? "" : ";") + path;
  std::vector<std::string> paths = open;
  size_t start = 0;
  while (start <= definitionListText.size()) {
    size_t end = definitionListText.find(';', start);
    if (end == std::string_view::npos) end = definitionListText.size();
    const std::string path(definitionListText.substr(start, end - start));
    if (!path.empty() && openText.find(path) == std::string::npos) {
      paths.push_back(path);
      openText += ";" + path;
    }
    start = end + 1;
  }
  return paths;
}

}  // namespace qel
