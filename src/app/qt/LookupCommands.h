// The main window's lookups: Lookup, Lookup in New Window and External Lookup of the selected
// result or the pattern, a double-click on a result, and a full-text result's own definition.
// The main window owns it and gives it the commands of its Edit menu to work.
#pragma once

#include <QObject>
#include <cstdint>
#include <functional>
#include <string>

#include "app/Commands.h"
#include "search/qt/QELViewWindows.h"

class QAction;
class QMenu;
class QWidget;

namespace qel {

class LookupService;
class QCDictionaryList;
struct Options;

class LookupCommands : public QObject {
  Q_OBJECT

 public:
  // All of them outlive this. A double-click looks up as `options` say; `window` is the parent
  // of the prompts and holds the keys of External Lookup.
  LookupCommands(LookupService& lookup, QELViewWindows& view, const Options& options,
                 QWidget& window);
  ~LookupCommands() override;

  // The dictionaries the view's panes search (which outlive this, or until the next call).
  void setDictionaries(QCDictionaryList* dictionaries) { m_dictionaries = dictionaries; }
  // Works the lookup commands `actions` gives and the External Lookup menu. `updateCommands`
  // brings the window's commands up to date; a double-click calls it before it looks up.
  void setUp(QMenu* externalLookup, std::function<QAction*(Command)> actions,
             std::function<void()> updateCommands);
  // Lookup (or another lookup command) of the selected result or of the pattern.
  void lookupCommand(Command command);
  // Lookup and Lookup in New Window are enabled while there is a word to look up, which their
  // keys need (the window's command states call it too).
  void updateLookupCommands();

 private:
  void lookupSubject(const QELViewWindows::LookupSubject& subject, Command command);
  void showFullTextResult(int pane, const std::string& word, int32_t definitionNumber,
                          bool newWindow);
  QAction* action(Command command) const { return m_action(command); }

  LookupService* m_lookup;
  QELViewWindows* m_view;
  const Options& m_options;
  QWidget* m_window;
  QCDictionaryList* m_dictionaries = nullptr;
  std::function<QAction*(Command)> m_action;
  std::function<void()> m_updateCommands;
};

}  // namespace qel
