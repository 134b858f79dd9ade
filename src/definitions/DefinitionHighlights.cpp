#include "definitions/DefinitionHighlights.h"

#include <cstdint>

#include "dictionary/Alphabet.h"
#include "pattern/FoldedCompare.h"
#include "pattern/MatchEngineSet.h"

namespace qel {
namespace {

bool isLetter(char c) { return folded::fold(static_cast<uint8_t>(c)) != 0; }

constexpr int kMaxWordLetters = 32;

}  // namespace

std::vector<TextRange> wordHighlights(std::string_view text, std::string_view word) {
  std::vector<TextRange> ranges;
  const int wanted = folded::letterCount(word);
  if (wanted == 0) return ranges;
  const int size = static_cast<int>(text.size());
  for (int start = 0; start < size; ++start) {
    if (!isLetter(text[start]) || (start > 0 && isLetter(text[start - 1]))) continue;
    int letters = 0;
    int end = start;
    for (int i = start; i < size; ++i) {
      if (isLetter(text[i])) {
        ++letters;
        end = i + 1;
      } else if (letters >= wanted && isLetter(text[i - 1])) {
        break;
      }
    }
    if (letters == wanted && folded::compare(text.substr(start, end - start), word) == 0) {
      ranges.push_back({start, end});
    }
  }
  return ranges;
}

std::vector<TextRange> fullTextHighlights(std::string_view text, const Alphabet& alphabet,
                                          MatchEngineSet& patterns) {
  std::vector<TextRange> ranges;
  uint8_t letters[kMaxWordLetters + 1];
  char word[kMaxWordLetters + 1];
  const int size = static_cast<int>(text.size());
  int i = 0;
  while (i < size) {
    if (!alphabet.isLetter(static_cast<uint8_t>(text[i]))) {
      ++i;
      continue;
    }
    const int start = i;
    int count = 0;
    for (; i < size && alphabet.isLetter(static_cast<uint8_t>(text[i])); ++i) {
      if (count < kMaxWordLetters) {
        letters[count] = alphabet.letterIndex[static_cast<uint8_t>(text[i])];
        word[count] = text[i];
        ++count;
      }
    }
    letters[count] = kEndOfLetters;
    word[count] = '\0';
    for (size_t slot = 0; slot < patterns.slotCount(); ++slot) {
      const MatchEngine* engine = patterns.engine(slot);
      if (!engine || count < engine->minimumLength() || count > engine->maximumLength()) continue;
      if (patterns.matchSlot(slot, letters, count, word)) {
        ranges.push_back({start, i});
        break;
      }
    }
  }
  return ranges;
}

TextRange wordAround(std::string_view text, int position) {
  const int size = static_cast<int>(text.size());
  if (position < 0 || position > size) return {};
  auto inWord = [&](int i) { return folded::isLetterOrDigit(static_cast<uint8_t>(text[i])); };
  int start = position;
  int end = position;
  while (start > 0 && inWord(start - 1)) --start;
  while (end < size && inWord(end)) ++end;
  return {start, end};
}

std::pair<std::string, std::string> splitNumberSuffix(std::string_view text) {
  size_t digits = text.size();
  while (digits > 0 && text[digits - 1] >= '0' && text[digits - 1] <= '9') --digits;
  return {std::string(text.substr(0, digits)), std::string(text.substr(digits))};
}

}  // namespace qel
