// One left-to-right pass over the pattern text.
#include "pattern/MacroExpansion.h"

namespace qel {

std::string expandMacros(std::string_view text, std::string_view atExpansion,
                         std::string_view hashExpansion) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
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
  return out;
}

}  // namespace qel
