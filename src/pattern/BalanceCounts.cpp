// Balance text of an anagram match.
#include "pattern/BalanceCounts.h"

namespace qel::pattern {

std::string balanceText(const BalanceCounts& balance, const Alphabet& alphabet,
                        std::string_view prefix) {
  if (balance.useCount != 1) return {};
  std::string text;
  auto append = [&](char sign, bool wantNegative) {
    bool any = false;
    for (int letter = 0; letter < 256; ++letter) {
      const int n = balance.counts[letter];
      if (wantNegative ? n >= 0 : n <= 0) continue;
      if (!any) text.push_back(sign);
      any = true;
      text.append(static_cast<size_t>(n < 0 ? -n : n),
                  static_cast<char>(alphabet.character[letter]));
    }
  };
  append('-', true);
  append('+', false);
  if (!text.empty()) text.insert(0, prefix);
  return text;
}

}  // namespace qel::pattern
