// The words looked up in one definition window, with the one shown, for Back, Forward and the
// "Go To" menu. Positions count from 1; 0 while nothing was shown.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qel {

class DefinitionHistory {
 public:
  // The Go To menu lists at most this many entries around the current one.
  static constexpr int kListed = 10;

  // A new word: the entries after the current one go, and the word becomes the last and current.
  void show(std::string word);

  int position() const { return m_position; }
  int size() const { return static_cast<int>(m_words.size()); }
  // Entry `position` (1 to size()).
  const std::string& word(int position) const { return m_words[position - 1]; }
  const std::string& current() const { return word(m_position); }

  bool canGoBack() const { return m_position > 1; }
  bool canGoForward() const { return m_position < size(); }
  // Moves to an entry (clamped to the history); the entries stay as they are.
  void setPosition(int position);

  // The first entry the Go To menu lists, and how many it lists from there.
  int firstListed() const;
  int listedCount() const;

  // The menu text of the j-th listed entry (0 to 9): "&1 word" ... "&9 word", "1&0 word".
  static std::string menuText(int j, std::string_view word);

 private:
  std::vector<std::string> m_words;
  int m_position = 0;
};

}  // namespace qel
