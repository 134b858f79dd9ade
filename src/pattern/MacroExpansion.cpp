// One left-to-right pass over the pattern text.
#include "pattern/MacroExpansion.h"

#include <algorithm>

namespace qel {

std::optional<std::string> expandMacros(std::string_view text, std::string_view atExpansion,
                                        std::string_view hashExpansion) {
  std::string out;
  out.reserve(std::min(text.size(), kMaxExpandedPattern));
  for (size_t i = 0; i < text.size(); ++i) {
    if (out.size() > kMaxExpandedPattern) return std::nullopt;
    const char c = text[i];
    if (c == '\\' && i + 1 < text.size()) {
      out += c;
      out += text[++i];
    } else if (c == '@' && !atExpansion.empty()) {
      out += atExpansion;
    } else if (c == '#' && !hashExpansion.empty()) {
      out += hashExpansion;
    } else {
      out += c;
    }
  }
  if (out.size() > kMaxExpandedPattern) return std::nullopt;
  return out;
}

}  // namespace qel
