// The main view's "Pattern" group: the pattern box with its history, the Search button, the
// search-mode button with its menu (Word Search, Full Text Search, Phrase Anagram), Shortest and
// Longest, and the progress bar. This builds and places them; the view gives them their meaning.
#pragma once

#include <QGroupBox>

class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QPushButton;
class QSpinBox;

namespace qel {

class QELProgressBar;
class SearchModeButton;

class PatternControls : public QGroupBox {
  Q_OBJECT

 public:
  explicit PatternControls(QWidget* parent);

  // The spacing of the group's grid, which the view keeps around the results panes too.
  int spacing() const { return m_spacing; }

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
};

}  // namespace qel
