#include "search/EntryClass.h"

namespace qel {

bool isUpperCase(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7) || c == 0x8A ||
         c == 0x8C || c == 0x8E || c == 0x9F;
}

EntryClass classifyEntry(std::string_view text, int length, const Alphabet& alphabet) {
  size_t first = text.size(), last = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (alphabet.isLetter(static_cast<unsigned char>(text[i]))) {
      if (first == text.size()) first = i;
      last = i;
    }
  }
  if (first == text.size()) return EntryClass::Punctuation;
  const std::string_view run = text.substr(first, last - first + 1);
  if (static_cast<int>(run.size()) == length) {
    for (char c : run) {
      if (isUpperCase(static_cast<unsigned char>(c))) return EntryClass::Upper;
    }
    return EntryClass::Lower;
  }
  return text.find(' ') != std::string_view::npos ? EntryClass::Phrase : EntryClass::Punctuation;
}

}  // namespace qel
