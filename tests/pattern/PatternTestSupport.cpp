// Test alphabet and word helpers.
#include "PatternTestSupport.h"

#include "pattern/FoldedCompare.h"

namespace qel::test {

const Alphabet& latinAlphabet() {
  static const Alphabet alphabet = [] {
    Alphabet a;
    a.letterIndex.fill(kNotALetter);
    a.character.fill('!');
    for (int c = 0; c < 256; ++c) {
      const uint8_t folded = folded::fold(static_cast<uint8_t>(c));
      if (folded < 'A' || folded > 'Z') continue;
      a.letterIndex[c] = static_cast<uint8_t>(folded - 'A');
      a.canonical[c] = static_cast<uint8_t>(folded - 'A' + 'a');
    }
    for (int i = 0; i < 26; ++i) a.character[i] = static_cast<uint8_t>('a' + i);
    a.active = 26;
    a.total = 26;
    return a;
  }();
  return alphabet;
}

std::vector<uint8_t> lettersOf(std::string_view word, const Alphabet& alphabet) {
  std::vector<uint8_t> letters;
  for (char c : word) {
    const uint8_t index = alphabet.letterIndex[static_cast<uint8_t>(c)];
    if (index != kNotALetter) letters.push_back(index);
  }
  letters.push_back(kEndOfLetters);
  return letters;
}

uint8_t parseInto(MatchEngineSet& set, std::string_view pattern) {
  return pattern::errorIndex(set.parse(latinAlphabet(), pattern, 1, 31));
}

bool accepts(MatchEngineSet& set, std::string_view word) {
  const std::vector<uint8_t> letters = lettersOf(word);
  const std::string text(word);
  return set.accepts(letters.data(), static_cast<int>(letters.size()) - 1, text.c_str());
}

bool matches(std::string_view pattern, std::string_view word) {
  MatchEngineSet set;
  if (parseInto(set, pattern) != 0) return false;
  return accepts(set, word);
}

std::string repeat(std::string_view s, int n) {
  std::string out;
  while (n-- > 0) out += s;
  return out;
}

bool latin1FromUtf8(std::string_view utf8, std::string& out) {
  out.clear();
  for (size_t i = 0; i < utf8.size(); ++i) {
    const uint8_t c = static_cast<uint8_t>(utf8[i]);
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if ((c & 0xE0) == 0xC0 && i + 1 < utf8.size()) {
      const int code = (c & 0x1F) << 6 | (static_cast<uint8_t>(utf8[++i]) & 0x3F);
      if (code > 0xFF) return false;
      out += static_cast<char>(code);
    } else {
      return false;
    }
  }
  return true;
}

}  // namespace qel::test
