// The numbered message table: user-visible texts by number (a status-bar text, a message box
// text, a command's hint).
#pragma once

#include <string_view>

namespace qel {

// Pattern errors are kPatternErrorMessages + error index (0 = the pattern is valid).
inline constexpr int kPatternErrorMessages = 13080;
inline constexpr int kMessageShortestLongestStopPattern = 13000;
inline constexpr int kMessageIncompatibleLengths = 13010;
inline constexpr int kMessageNoWordsOfLength = 14030;
inline constexpr int kMessageNoDictionary = 6670;

// The exact text of a message, or an empty text for a number not in the table.
std::string_view messageText(int number);

}  // namespace qel
