// Where a definition text shows the word that was looked up, or the words a full-text search
// matched. Texts are code page 1252, one byte per character position of the window's text.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qel {

struct Alphabet;
class MatchEngineSet;

struct TextRange {
  int start = 0;
  int end = 0;  // one past the last character
  bool operator==(const TextRange&) const = default;
};

// Every run of text from a word's first letter that holds exactly the letters of `word`, whatever
// lies between them: "tail end", "Tail-End" and "tailend" all show the word "tail-end".
std::vector<TextRange> wordHighlights(std::string_view text, std::string_view word);

// Every word of the text (a run of the alphabet's letters; its first 32 letters count) that one
// of the set's patterns matches on its own.
std::vector<TextRange> fullTextHighlights(std::string_view text, const Alphabet& alphabet,
                                          MatchEngineSet& patterns);

// The run of letters and digits around `position` (a text position, or the end); empty when there
// is none.
TextRange wordAround(std::string_view text, int position);

// A word taken from a definition text with the digits that end it apart: "bank2" looks up "bank",
// preferring the definition headed "bank" "2".
std::pair<std::string, std::string> splitNumberSuffix(std::string_view text);

// The longest word that may be looked up from a definition text.
inline constexpr size_t kMaxLookupWord = 50;

}  // namespace qel
