// Code page 1252: Latin-1 with typographic characters in 0x80..0x9F. The five codes that the code
// page leaves undefined map to the C1 controls of the same value, so every byte round-trips.
#include "platform/Cp1252.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace qel::cp1252 {
namespace {

constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80..87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88..8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90..97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98..9F
};

int toByte(uint32_t codePoint) {
  if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF))
    return static_cast<int>(codePoint);
  for (int i = 0; i < 32; ++i) {
    if (kHigh[i] == codePoint) return 0x80 + i;
  }
  return -1;
}

char* writeCodePoint(char* out, uint32_t cp) {
  if (cp < 0x80) {
    *out++ = static_cast<char>(cp);
  } else if (cp < 0x800) {
    *out++ = static_cast<char>(0xC0 | (cp >> 6));
    *out++ = static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    *out++ = static_cast<char>(0xE0 | (cp >> 12));
    *out++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    *out++ = static_cast<char>(0x80 | (cp & 0x3F));
  }
  return out;
}

}  // namespace

bool fromUtf8(std::string_view utf8, std::string& out, size_t* badOffset, bool* notUtf8) {
  out.clear();
  out.reserve(utf8.size());
  size_t i = 0;
  while (i < utf8.size()) {
    const auto lead = static_cast<uint8_t>(utf8[i]);
    if (lead < 0x80) {
      out.push_back(static_cast<char>(lead));
      ++i;
      continue;
    }
    int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : -1;
    uint32_t cp = extra > 0 ? (lead & (0x3F >> extra)) : 0;
    bool ok = extra > 0 && lead < 0xF8;
    for (int k = 1; ok && k <= extra; ++k) {
      if (i + k >= utf8.size()) {
        ok = false;
        break;
      }
      const auto c = static_cast<uint8_t>(utf8[i + k]);
      if ((c & 0xC0) != 0x80) ok = false;
      cp = (cp << 6) | (c & 0x3F);
    }
    // Overlong forms would let a second spelling of a character (even of NUL) through.
    static constexpr uint32_t kLeast[4] = {0, 0x80, 0x800, 0x10000};
    if (ok && cp < kLeast[extra]) ok = false;
    const int byte = ok ? toByte(cp) : -1;
    if (byte < 0) {
      if (badOffset) *badOffset = i;
      if (notUtf8) *notUtf8 = !ok;
      return false;
    }
    out.push_back(static_cast<char>(byte));
    i += extra + 1;
  }
  return true;
}

bool fromCodePoint(uint32_t codePoint, char& byte) {
  const int b = toByte(codePoint);
  if (b < 0) return false;
  byte = static_cast<char>(b);
  return true;
}

char* writeUtf8(std::string_view text, char* out) {
  size_t at = 0;
  uint64_t word;
  // A text of eight bytes or more, all ASCII, as blocks of eight, the last one overlapping.
  if (text.size() >= 8) {
    uint64_t high = 0;
    for (; at + 8 <= text.size(); at += 8) {
      std::memcpy(&word, text.data() + at, 8);
      high |= word;
    }
    std::memcpy(&word, text.data() + text.size() - 8, 8);
    if (((high | word) & 0x8080808080808080ull) == 0) {
      for (at = 0; at + 8 <= text.size(); at += 8) std::memcpy(out + at, text.data() + at, 8);
      std::memcpy(out + text.size() - 8, &word, 8);
      return out + text.size();
    }
    at = 0;
  }
  while (at < text.size()) {
    // Runs of ASCII, most of any word list, go over eight bytes at a time.
    for (; at + 8 <= text.size(); at += 8, out += 8) {
      std::memcpy(&word, text.data() + at, 8);
      if (word & 0x8080808080808080ull) break;
      std::memcpy(out, &word, 8);
    }
    for (; at < text.size() && static_cast<uint8_t>(text[at]) < 0x80; ++at) *out++ = text[at];
    if (at == text.size()) break;
    const auto c = static_cast<uint8_t>(text[at++]);
    out = writeCodePoint(out, c < 0xA0 ? kHigh[c - 0x80] : c);
  }
  return out;
}

std::string toUtf8(std::string_view text) {
  std::string out(kUtf8Growth * text.size(), '\0');
  out.resize(static_cast<size_t>(writeUtf8(text, out.data()) - out.data()));
  return out;
}

}  // namespace qel::cp1252
