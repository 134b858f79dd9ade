// A definition window: the definitions of one word at a time, a history of the words looked up
// in it, lookups of words in its text, and steps through the main window's results.
#pragma once

#include <QMainWindow>
#include <cstdint>
#include <map>
#include <string>

#include "definitions/DefinitionHistory.h"
#include "definitions/qt/DefinitionSource.h"

class QAction;
class QLabel;
class QMenu;

namespace qel {

struct Alphabet;
class DefinitionViewWindows;
class MatchEngineSet;

// The patterns of a full-text search, for showing the words they matched.
struct FullTextMatch {
  const Alphabet& alphabet;
  MatchEngineSet& patterns;
};

class DefinitionViewFrame : public QMainWindow {
  Q_OBJECT

 public:
  enum Command : int {
    kCopy = 7500,
    kSelectAll = 7510,
    kLookup = 7490,
    kLookupInNewWindow = 12640,
    kExternalLookup = 12710,
    kBack = 12650,
    kForward = 12660,
    kHistoryItem = 12670,  // to 12679
    kNextResult = 12730,
    kPreviousResult = 12740,
    kNextDefinition = 13890,
    kPreviousDefinition = 13900,
  };

  DefinitionViewFrame(DefinitionSource& source, int number, QWidget* parent = nullptr);

  int number() const { return m_number; }
  // Shows a word's definitions (replacing the words after the current one in the history), then
  // the window itself, active. With `fullText`, the words the search matched are highlighted;
  // otherwise the word.
  void show(DefinitionsFound found, const std::string& word, const std::string& preferredPath = {},
            const std::string& numberSuffix = {}, const FullTextMatch* fullText = nullptr);
  // Shows the definition again after the definition fonts or colour changed, with the highlights
  // it had.
  void refresh();
  // Previous Result and Next Result follow the main window's results and selection.
  void updateResultSteps();
  // Goes to a history entry (1-based), collecting its definitions again.
  void goToHistory(int position);

  const DefinitionHistory& history() const { return m_history; }
  DefinitionViewWindows* client() const { return m_client; }
  QAction* action(Command command) const { return m_actions.at(command); }
  QString statusText() const;
  // The word a lookup from the text takes now (empty when none, or longer than a lookup allows),
  // and the menus as they would open.
  std::string lookupWord() const;
  QMenu* contextMenu();
  // When the window was last active: the most recent is the one Lookup reuses.
  uint64_t activationOrder() const { return m_activationOrder; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QAction* addAction(Command command, const QString& text, const QKeySequence& shortcut);
  void buildToolBar();
  void updateCaption();
  void updateCommands();
  void lookupFromText(qel::Command command);
  void prepareContextMenu();
  void highlightWord();

  DefinitionSource& m_source;
  int m_number;
  DefinitionViewWindows* m_client = nullptr;
  QLabel* m_status = nullptr;
  DefinitionHistory m_history;
  std::map<int, QAction*> m_actions;
  QMenu* m_menu = nullptr;
  QMenu* m_goTo = nullptr;
  QMenu* m_external = nullptr;
  std::vector<QAction*> m_historyActions;
  uint64_t m_activationOrder = 0;
};

}  // namespace qel
