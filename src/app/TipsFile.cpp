// Reading the tips file: bounded, never failing on what it holds.
#include "app/TipsFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <limits>

#include "platform/Cp1252.h"
#include "platform/FileAccess.h"

namespace qel {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kEllipsis = "\xE2\x80\xA6";

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  return text;
}

bool allDigits(std::string_view text) {
  return !text.empty() &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool isContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// Well-formed UTF-8: no stray continuation bytes, overlong forms, surrogates or values beyond
// U+10FFFF.
bool isUtf8(std::string_view text) {
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  const auto* end = p + text.size();
  while (p < end) {
    const unsigned char c = *p;
    size_t length = 0;
    uint32_t lowest = 0;
    if (c < 0x80) {
      ++p;
      continue;
    } else if ((c & 0xE0) == 0xC0) {
      length = 2;
      lowest = 0x80;
    } else if ((c & 0xF0) == 0xE0) {
      length = 3;
      lowest = 0x800;
    } else if ((c & 0xF8) == 0xF0) {
      length = 4;
      lowest = 0x10000;
    } else {
      return false;
    }
    if (static_cast<size_t>(end - p) < length) return false;
    uint32_t code = c & (0x7F >> length);
    for (size_t i = 1; i < length; ++i) {
      if (!isContinuation(p[i])) return false;
      code = (code << 6) | (p[i] & 0x3F);
    }
    if (code < lowest || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
    p += length;
  }
  return true;
}

// Cuts a UTF-8 text that is too long at a character boundary and marks the cut.
bool cutTip(std::string& text) {
  if (text.size() <= kMaxTipBytes) return false;
  size_t keep = kMaxTipBytes - kEllipsis.size();
  while (keep > 0 && isContinuation(static_cast<unsigned char>(text[keep]))) --keep;
  text.resize(keep);
  text += kEllipsis;
  return true;
}

// One line, without its line end; nothing when the line has nothing to show.
bool parseLine(std::string_view line, Tip& tip) {
  line = trimmed(line);
  const size_t blank = line.find_first_of(" \t");
  const std::string_view head = line.substr(0, blank);
  if (!allDigits(head)) {
    tip = {0, std::string(line)};
    return !line.empty();
  }
  if (blank == std::string_view::npos) return false;  // a number and no text
  int64_t number = 0;
  for (const char c : head) {
    number = number * 10 + (c - '0');
    if (number > std::numeric_limits<int32_t>::max()) break;
  }
  tip.helpContext = number > std::numeric_limits<int32_t>::max() ? 0 : static_cast<int32_t>(number);
  tip.text = std::string(trimmed(line.substr(blank)));
  return !tip.text.empty();
}

}  // namespace

TipsFile parseTips(std::string_view contents) {
  TipsFile file;
  if (contents.size() > kMaxTipsFileBytes) {
    // The line cut by the bound is left out with the rest.
    contents = contents.substr(0, kMaxTipsFileBytes);
    contents = contents.substr(0, contents.rfind('\n') + 1);
    file.truncated = true;
  }
  if (contents.starts_with(kByteOrderMark)) contents.remove_prefix(kByteOrderMark.size());
  std::string converted;
  if (!isUtf8(contents)) {
    converted = cp1252::toUtf8(contents);
    contents = converted;
  }
  while (!contents.empty()) {
    const size_t end = contents.find('\n');
    const std::string_view line = contents.substr(0, end);
    contents = end == std::string_view::npos ? std::string_view() : contents.substr(end + 1);
    Tip tip;
    if (!parseLine(line, tip)) continue;
    if (file.tips.size() == kMaxTips) {
      file.truncated = true;
      break;
    }
    if (cutTip(tip.text)) file.truncated = true;
    file.tips.push_back(std::move(tip));
  }
  return file;
}

TipsFile readTipsFile(const std::string& path) {
  TipsFile file;
  std::FILE* f = openRegularFile(path, file.error);
  if (f == nullptr) return file;
  // One byte beyond the bound tells parseTips that the file goes on.
  std::string contents(kMaxTipsFileBytes + 1, '\0');
  const size_t got = std::fread(contents.data(), 1, contents.size(), f);
  const bool failed = std::ferror(f) != 0;
  std::fclose(f);
  if (failed) {
    file.error = EIO;
    return file;
  }
  contents.resize(got);
  return parseTips(contents);
}

size_t tipToShow(int32_t nextIndex, size_t count) {
  if (count == 0) return 0;
  const int64_t n = static_cast<int64_t>(count);
  return static_cast<size_t>((static_cast<int64_t>(nextIndex) % n + n) % n);
}

int32_t nextIndexAfter(size_t shown, size_t count) {
  return count == 0 ? 0 : static_cast<int32_t>((shown + 1) % count);
}

}  // namespace qel
