// What a phrase anagram search is asked for, with the defaults qel-cli and the window start from.
#pragma once

#include <string>
#include <vector>

namespace qel {

struct PhraseAnagramSettings {
  static constexpr int kMaxWords = 6;
  static constexpr long kDefaultLimit = 100'000;

  // At most this many words in a combination, those of `contains` included (1..kMaxWords).
  int words = 3;
  // Letters of the shortest word the search may use (1..kLongestWord); `contains` is not held to
  // it.
  int shortest = 1;
  // Entries with blanks or punctuation ("dirty room", "o'clock") may be used too, not only the
  // entries that are letters alone.
  bool phrases = false;
  // Words every combination holds, in code page 1252: their letters are taken out first. They
  // need not be entries of the dictionary.
  std::vector<std::string> contains;
  // A pattern that each word the search uses must match (not those of `contains`); empty for any.
  std::string pattern;
  // Combinations listed before the search stops and says there are more.
  long limit = kDefaultLimit;
};

}  // namespace qel
