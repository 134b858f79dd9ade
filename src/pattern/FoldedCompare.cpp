// The fixed folding table over code page 1252 and the operations built on it.
#include "pattern/FoldedCompare.h"

#include <array>

namespace qel::folded {
namespace {

constexpr std::array<uint8_t, 256> makeTable() {
  std::array<uint8_t, 256> t{};
  for (int c = 'A'; c <= 'Z'; ++c) t[c] = static_cast<uint8_t>(c);
  for (int c = 'a'; c <= 'z'; ++c) t[c] = static_cast<uint8_t>(c - 'a' + 'A');
  auto range = [&t](int from, int to, uint8_t value) {
    for (int c = from; c <= to; ++c) {
      t[c] = value;
      t[c + 0x20] = value;  // the lower-case forms sit 0x20 above
    }
  };
  range(0xC0, 0xC5, 'A');
  range(0xC6, 0xC6, 0xC6);
  range(0xC7, 0xC7, 'C');
  range(0xC8, 0xCB, 'E');
  range(0xCC, 0xCF, 'I');
  range(0xD0, 0xD0, 'D');
  range(0xD1, 0xD1, 'N');
  range(0xD2, 0xD6, 'O');
  range(0xD8, 0xD8, 'O');
  range(0xD9, 0xDC, 'U');
  range(0xDD, 0xDD, 'Y');
  range(0xDE, 0xDE, 0xDE);
  t[0xFF] = 'Y';
  t[0x9F] = 'Y';
  t[0xDF] = 0xDF;
  t[0x8A] = t[0x9A] = 'S';
  t[0x8C] = t[0x9C] = 0x8C;
  return t;
}

constexpr std::array<uint8_t, 256> kFold = makeTable();

}  // namespace

uint8_t fold(uint8_t c) { return kFold[c]; }

int compare(std::string_view a, std::string_view b) {
  size_t i = 0, j = 0;
  for (;;) {
    while (i < a.size() && kFold[static_cast<uint8_t>(a[i])] == 0) ++i;
    while (j < b.size() && kFold[static_cast<uint8_t>(b[j])] == 0) ++j;
    if (i == a.size() || j == b.size()) break;
    const auto fa = static_cast<int8_t>(kFold[static_cast<uint8_t>(a[i])]);
    const auto fb = static_cast<int8_t>(kFold[static_cast<uint8_t>(b[j])]);
    if (fa != fb) return fa - fb;
    ++i;
    ++j;
  }
  if (i == a.size() && j == b.size()) return 0;
  return i < a.size() ? 1 : -1;
}

int letterCount(std::string_view text) {
  int n = 0;
  for (char c : text) n += kFold[static_cast<uint8_t>(c)] != 0;
  return n;
}

uint32_t hash(std::string_view text) {
  uint32_t h = 0;
  for (char c : text) {
    const uint8_t f = kFold[static_cast<uint8_t>(c)];
    if (f != 0) h = (h * 2) ^ f;
  }
  return h;
}

bool isLetterOrDigit(uint8_t c) { return kFold[c] != 0 || (c >= '0' && c <= '9'); }

}  // namespace qel::folded
