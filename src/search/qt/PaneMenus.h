// The shortcut menus of a results pane: one for selected results (the lookup commands, Copy,
// Select All and printing) and one for the pane itself (the dictionary's commands). The main
// window gives the commands it carries out; one it did not give, or has disabled, stands
// disabled. Texts and hints come from the command table.
#pragma once

#include <QPoint>
#include <vector>

class QAction;
class QWidget;

namespace qel {

class MatchListWindows;

class PaneMenus {
 public:
  // The commands the pane menu offers, in its order (Properties, Close, Save Results As, Demote,
  // Promote).
  void setPaneActions(std::vector<QAction*> actions) { m_pane = std::move(actions); }
  // The lookup commands the results menu offers before Copy (Lookup, Lookup in New Window, the
  // External Lookup menu's action).
  void setLookupActions(std::vector<QAction*> actions) { m_lookup = std::move(actions); }
  // The commands the results menu offers for printing (Print, Print Preview).
  void setResultsActions(std::vector<QAction*> actions) { m_results = std::move(actions); }
  // The pane menu's first command, which a double-click on a pane's caption carries out.
  QAction* propertiesAction() const { return m_pane.empty() ? nullptr : m_pane.front(); }

  // The menu for the results selected in `list`, at `at` (global).
  void showResultsMenu(QWidget* parent, MatchListWindows* list, const QPoint& at) const;
  void showPaneMenu(QWidget* parent, const QPoint& at) const;

 private:
  std::vector<QAction*> m_pane;
  std::vector<QAction*> m_lookup;
  std::vector<QAction*> m_results;
};

}  // namespace qel
