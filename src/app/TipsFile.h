// The tips file beside the program: one tip a line, a help context number, a blank, the tip's text;
// and which tip the Startup Tips window shows for the stored "NextIndex".
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qel {

inline constexpr std::string_view kTipsFileName = "Tips.txt";

// Bounds that keep a damaged or foreign file from filling the window or the memory: bytes beyond
// kMaxTipsFileBytes and lines beyond kMaxTips are not read; a tip longer than kMaxTipBytes is cut
// at a character and ends with an ellipsis, so the cut shows.
inline constexpr size_t kMaxTipsFileBytes = 1 << 20;
inline constexpr size_t kMaxTips = 1000;
inline constexpr size_t kMaxTipBytes = 2000;

struct Tip {
  int32_t helpContext = 0;  // 0: no topic to open
  std::string text;         // UTF-8

  bool operator==(const Tip&) const = default;
};

struct TipsFile {
  std::vector<Tip> tips;
  int error = 0;           // reading the file: 0, an errno value or kNotRegularFile
  bool truncated = false;  // a bound was reached: tips were cut or left out
};

// The tips of a file's contents. A line is "context text": the decimal number before the first
// blank is the tip's help context (0 when it is out of range), the rest is the tip. A line whose
// first word is not a number is a tip without a topic, all of it text. Lines with nothing to show
// (blank, or a number alone) are no tips. Line ends may be "\n" or "\r\n", a UTF-8 byte-order mark
// is dropped, and a file that is not UTF-8 is read as code page 1252.
TipsFile parseTips(std::string_view contents);

// Reads and parses the file; a missing or unreadable one gives no tips and its error.
TipsFile readTipsFile(const std::string& path);

// The tip to show for a stored next index, brought into 0..count-1 (count > 0), and the next index
// to store once it has been shown.
size_t tipToShow(int32_t nextIndex, size_t count);
int32_t nextIndexAfter(size_t shown, size_t count);

}  // namespace qel
