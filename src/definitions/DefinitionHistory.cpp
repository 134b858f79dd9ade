#include "definitions/DefinitionHistory.h"

#include <algorithm>
#include <utility>

namespace qel {

void DefinitionHistory::show(std::string word) {
  m_words.resize(m_position);
  m_words.push_back(std::move(word));
  m_position = size();
}

void DefinitionHistory::setPosition(int position) {
  m_position = std::clamp(position, std::min(1, size()), size());
}

// Keeps the current entry within the list, five entries before it where the history allows.
int DefinitionHistory::firstListed() const {
  const int a = std::max(0, m_position - 6);
  if (size() - 1 >= a + kListed - 1) return a + 1;
  if (size() >= kListed) return size() - kListed + 1;
  return 1;
}

int DefinitionHistory::listedCount() const { return std::min(kListed, size() - firstListed() + 1); }

std::string DefinitionHistory::menuText(int j, std::string_view word) {
  std::string text = j < 9 ? "&" + std::to_string(j + 1) : "1&0";
  text += ' ';
  text += word;
  return text;
}

}  // namespace qel
