// One definition record read from a dictionary, with the heading pairs shown above it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qel {

struct Definition {
  std::string dictionaryPath;
  int dictionaryNumber = 0;              // position of the dictionary in the list of the lookup
  std::vector<std::string> firstTexts;   // first text of each heading pair, in record order
  std::vector<std::string> secondTexts;  // second text of each heading pair
  std::string entryText;                 // the entry through which a word lookup found the record
  std::string body;                      // plain text, or rich text when it begins with "{\rtf1"
  uint32_t recordOffset = 0;
};

}  // namespace qel
