// The results pane's shortcut menus, built afresh each time one opens.
#include "search/qt/PaneMenus.h"

#include <QAction>
#include <QMenu>
#include <span>

#include "app/Commands.h"
#include "common/qt/MenuHints.h"
#include "search/qt/MatchListWindows.h"

namespace qel {
namespace {

QString fromTable(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A menu item for `command`, carried out by the main window's action for it: disabled when the
// action is missing or disabled.
void addGivenAction(QMenu& menu, Command command, QAction* given) {
  QAction* item = menu.addAction(fromTable(paneMenuText(command)));
  item->setEnabled(given && given->isEnabled());
  item->setStatusTip(fromTable(commandInfo(command).hint));
  if (given) QObject::connect(item, &QAction::triggered, given, &QAction::trigger);
}

void addGivenActions(QMenu& menu, std::span<const Command> commands,
                     const std::vector<QAction*>& given) {
  for (size_t i = 0; i < commands.size(); ++i)
    addGivenAction(menu, commands[i], i < given.size() ? given[i] : nullptr);
}

// A command of the list itself.
QAction* addListAction(QMenu& menu, Command command) {
  QAction* item = menu.addAction(fromTable(paneMenuText(command)));
  item->setStatusTip(fromTable(commandInfo(command).hint));
  return item;
}

}  // namespace

void PaneMenus::showResultsMenu(QWidget* parent, MatchListWindows* list, const QPoint& at) const {
  QMenu menu(parent);
  constexpr Command kLookups[] = {Command::kLookup, Command::kLookupInNewWindow,
                                  Command::kExternalLookup};
  for (size_t i = 0; i < std::size(kLookups); ++i) {
    // The lookup actions go in as they are: the main window keeps their texts up to date.
    if (i < m_lookup.size() && m_lookup[i]) {
      menu.addAction(m_lookup[i]);
    } else {
      menu.addAction(fromTable(paneMenuText(kLookups[i])))->setEnabled(false);
    }
  }
  menu.addSeparator();
  QObject::connect(addListAction(menu, Command::kCopy), &QAction::triggered, list,
                   &MatchListWindows::copy);
  QObject::connect(addListAction(menu, Command::kSelectAll), &QAction::triggered, list,
                   &MatchListWindows::selectAll);
  menu.addSeparator();
  constexpr Command kPrinting[] = {Command::kPrint, Command::kPrintPreview};
  addGivenActions(menu, kPrinting, m_results);
  showItemHints(&menu);
  menu.exec(at);
}

void PaneMenus::showPaneMenu(QWidget* parent, const QPoint& at) const {
  QMenu menu(parent);
  constexpr Command kCommands[] = {Command::kProperties, Command::kClose, Command::kSaveResults,
                                   Command::kDemote, Command::kPromote};
  addGivenActions(menu, kCommands, m_pane);
  showItemHints(&menu);
  menu.exec(at);
}

}  // namespace qel
