// The main view: the pattern box with its history, the Search button and the search-mode button,
// Shortest and Longest, the progress bar, and one results pane per open dictionary. It validates
// the pattern on every change and runs the core's search session in short slices between turns of
// the event loop, so that Stop, Escape, typing and closing act at once.
#pragma once

#include <QColor>
#include <QElapsedTimer>
#include <QFont>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "dictionary/QCDictionaryList.h"
#include "search/ResultStepping.h"
#include "search/SearchSession.h"
#include "search/SearchSettings.h"
#include "search/qt/PaneMenus.h"
#include "search/qt/ResultPanes.h"
#include "search/qt/ViewAppearance.h"

class QAction;
class QComboBox;
class QMenu;
class QPushButton;
class QSpinBox;

namespace qel {

class MatchListLabelWindows;
class MatchListWindows;
class PaneSplitter;
class PatternControls;
class SearchRunner;
class QELProgressBar;
class SearchModeButton;

class QELViewWindows : public QWidget {
  Q_OBJECT

 public:
  // One results pane: its caption strip above its list.
  using OutputGroup = ResultPanes::Pane;

  explicit QELViewWindows(QWidget* parent = nullptr);
  ~QELViewWindows() override;

  QSize minimumSizeHint() const override;

  // The open dictionaries (which outlive the view, or until the next call): the panes are built
  // again, the first pane active, and the pattern validated.
  void setDictionaries(QCDictionaryList* dictionaries);
  // The user's options for searching (Shortest and Longest come from the boxes instead).
  void setOptions(const SearchSettings& options);
  void setAppearance(const ViewAppearance& appearance);
  // 0: panes one on top of the other; 1: side by side.
  void setOrientation(int orientation);
  int orientation() const;
  void setShortestLongest(int shortest, int longest);
  int shortest() const;
  int longest() const;
  // Where the panes' proportions for a number of panes are kept ("Panes<N>").
  void setProportionsStore(std::function<QString(int panes)> read,
                           std::function<void(int panes, const QString& text)> write);

  SearchState state() const { return m_state; }
  bool fullText() const { return m_fullText; }
  bool phraseAnagram() const { return m_phraseAnagram; }
  // Phrase Anagram as the search mode (Word Search and Full Text Search have setFullText()).
  void setPhraseAnagram();
  void setFullText(bool fullText);
  QString statusText() const { return m_statusText; }
  int activePane() const { return m_activePane; }
  void setActivePane(int pane);
  int paneCount() const { return m_panes->count(); }
  const OutputGroup& pane(int i) const { return (*m_panes)[i]; }
  const SearchSession* session() const { return m_session.get(); }
  QComboBox* patternBox() const;
  QSpinBox* shortestBox() const;
  QSpinBox* longestBox() const;
  QPushButton* searchButton() const;
  QELProgressBar* progressBar() const;
  // The rectangle of pane i (caption and list) in the view.
  QRect paneRect(int i) const;
  int gap() const;
  // The longest time one slice of a search kept the event loop waiting, in nanoseconds.
  qint64 longestSlice() const;

  // The shortcut menus of the panes, which take the main window's commands.
  PaneMenus& menus() { return m_menus; }

  // What Lookup takes: the pattern box's text while it has the focus, else the one result selected
  // in the active pane while its list has the focus.
  using LookupSubject = qel::LookupSubject;
  std::optional<LookupSubject> lookupSubject() const;
  // Whether the pattern box is what commands act on: it has the focus, or had it when the menu
  // bar or a menu took the keyboard.
  bool patternHasFocus() const;
  // A pane's result as a lookup subject (for stepping through them from a definition window).
  std::optional<LookupSubject> resultSubject(int pane, long row) const;

  // Next Result and Previous Result: whether there is one, and the step to it, which moves the
  // caret as the keyboard would and makes its pane active.
  bool canStepResult(bool next) const;
  bool stepResult(bool next);

  // Re-checks the dictionaries and compiles the pattern for each; NoPattern or Ready.
  void validatePattern();
  // Puts the text in the pattern box and searches it, unless a search is running.
  void setPatternAndSearch(const QString& text);
  // Starts a search, pauses a running one, or resumes a paused one.
  void onSearchButton();
  // Whether the window may close now; a running search is stopped first and the view closes
  // once its current slice has ended (closeRequested is then emitted).
  bool canClose();

 signals:
  void statusTextChanged(const QString& text);
  void stateChanged(SearchState state);
  void activePaneChanged(int pane);
  void filesDropped(const QStringList& paths);
  void closeRequested();
  void menuAboutToShow();
  // What lookupSubject() gives may have changed (a selection, the pattern).
  void lookupSubjectChanged();
  // A result was double-clicked (Shift asks for a new definition window).
  void resultDoubleClicked(int pane, Qt::KeyboardModifiers modifiers);

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void buildControls();
  void layOutPanes();
  void placePanes();
  QRect paneArea() const;
  void setState(SearchState state);
  void setStatus(const QString& text);
  void finishSlice(bool ended);
  void updateProgress();
  void updateCaptions();
  void setMode(bool fullText, bool phraseAnagram, QAction* checked);
  void revalidate();
  SearchSettings currentSettings() const;

  QCDictionaryList* m_dictionaries = nullptr;
  std::unique_ptr<SearchSession> m_session;
  SearchSettings m_options;
  ViewAppearance m_appearance;
  PaneSplitter* m_splitter = nullptr;

  PatternControls* m_group = nullptr;

  ResultPanes* m_panes = nullptr;
  PaneMenus m_menus;
  int m_activePane = 0;

  SearchState m_state = static_cast<SearchState>(255);
  bool m_fullText = false;
  bool m_phraseAnagram = false;
  bool m_closing = false;
  QString m_statusText;
  SearchRunner* m_runner = nullptr;
};

}  // namespace qel
