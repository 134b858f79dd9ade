// The main view's "Pattern" group: the pattern box with its history, the Search button, the
// search-mode button with its menu (Word Search, Full Text Search, Phrase Anagram), Shortest and
// Longest, and the progress bar. This builds and places them; the view gives them their meaning.
#pragma once

#include <QGroupBox>
#include <QStringList>
#include <optional>

#include "search/SearchSettings.h"
#include "search/qt/LookupSubject.h"

class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QMimeData;
class QPushButton;
class QSpinBox;

namespace qel {

class QELProgressBar;
class SearchModeButton;

// The local files among dropped ones, which open as dictionaries.
QStringList localFiles(const QMimeData* data);

class PatternControls : public QGroupBox {
  Q_OBJECT

 public:
  explicit PatternControls(QWidget* parent);

  // The spacing of the group's grid, which the view keeps around the results panes too.
  int spacing() const { return m_spacing; }

  // What Search does in `state` and the search mode, on the Search button.
  void showSearchText(SearchState state, bool fullText, bool phraseAnagram);
  // A running search leaves only Search (then Stop) enabled, and takes no dropped files.
  void setSearching(bool searching);
  // Shortest and Longest take what was typed into them.
  void commitLengths();
  // Sets Shortest and Longest, keeping Shortest <= Longest.
  void setLengths(int shortest, int longest);
  // The pattern goes to the top of the history, once.
  void addToHistory(const QString& pattern);
  // Whether the pattern box is what commands act on: it has the focus, or had it when the menu
  // bar or a menu took the keyboard.
  bool patternHasFocus() const;
  // The pattern as a word to look up, when it is one the dictionaries can hold.
  std::optional<LookupSubject> patternSubject() const;
  // The pattern's font and colour.
  void setPatternAppearance(const QFont& font, const QColor& colour);

 signals:
  // Return, or Enter on the keypad, in the pattern box or a length box: a search, as the default
  // button of a dialog would give.
  void searchKeyPressed();
  // Files dropped on the pattern box, which open as dictionaries.
  void filesDropped(const QStringList& paths);
  // Shortest or Longest changed (and the other followed it to keep them in order).
  void lengthsChanged();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 public:
  QComboBox* const pattern;
  QPushButton* const search;
  SearchModeButton* const mode;
  QMenu* const modeMenu;
  QAction* const wordSearch;
  QAction* const fullTextSearch;
  QAction* const phraseAnagramSearch;
  QLabel* const shortestLabel;
  QLabel* const longestLabel;
  QSpinBox* const shortest;
  QSpinBox* const longest;
  QELProgressBar* const progress;

 private:
  int m_spacing = 6;
  // Shortest and Longest keep Shortest <= Longest: the one that did not change follows.
  void keepLengthsOrdered(bool longestChanged);

  bool m_searching = false;
  bool m_settingLengths = false;
  bool m_patternFocused = false;
};

}  // namespace qel
