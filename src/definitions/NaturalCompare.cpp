#include "definitions/NaturalCompare.h"

#include <cstdint>

#include "pattern/FoldedCompare.h"

namespace qel {
namespace {

bool isDigit(uint8_t c) { return c >= '0' && c <= '9'; }

bool isSignificant(uint8_t c) { return folded::fold(c) != 0 || isDigit(c); }

// The value of the run of digits at `i` (0 when there is none), saturating far beyond any number a
// heading holds; `i` moves past the run.
uint64_t readNumber(std::string_view text, size_t& i) {
  uint64_t value = 0;
  for (; i < text.size() && isDigit(text[i]); ++i) {
    if (value < UINT64_MAX / 16) value = value * 10 + (text[i] - '0');
  }
  return value;
}

int compareValue(uint8_t c) {
  const uint8_t f = folded::fold(c);
  return f != 0 ? static_cast<int8_t>(f) : c;
}

}  // namespace

int naturalCompare(std::string_view a, std::string_view b, int* matchLength) {
  int matched = 0;
  int result = 0;
  size_t i = 0;
  size_t j = 0;
  for (;;) {
    while (i < a.size() && !isSignificant(a[i])) ++i;
    while (j < b.size() && !isSignificant(b[j])) ++j;
    if (i == a.size()) {
      result = j == b.size() ? 0 : -1;
      break;
    }
    if (j == b.size()) {
      result = 1;
      break;
    }
    const uint8_t ca = a[i];
    const uint8_t cb = b[j];
    if ((ca >= '1' && ca <= '9') || (cb >= '1' && cb <= '9')) {
      const size_t start = i;
      const uint64_t na = readNumber(a, i);
      const uint64_t nb = readNumber(b, j);
      if (na != nb) {
        result = na < nb ? -1 : 1;
        break;
      }
      matched += static_cast<int>(i - start);
      continue;
    }
    const int va = compareValue(ca);
    const int vb = compareValue(cb);
    if (va != vb) {
      result = va < vb ? -1 : 1;
      break;
    }
    ++matched;
    ++i;
    ++j;
  }
  if (matchLength) *matchLength = matched;
  return result;
}

}  // namespace qel
