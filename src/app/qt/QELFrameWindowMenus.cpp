// The main window's menu bar: its commands, their enabling rules and hints, the File menu's texts
// that name the active dictionary, the previously used dictionaries, and the keys F4 to F6.
#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QComboBox>
#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QProcess>
#include <QShortcut>
#include <QWindow>
#include <algorithm>
#include <utility>
#include <vector>

#include "app/CommandStates.h"
#include "app/WindowSettings.h"
#include "app/qt/QELFrameWindow.h"
#include "common/qt/HelpWindow.h"
#include "common/qt/MenuHints.h"
#include "common/qt/UserPrompts.h"
#include "definitions/qt/QELDictionaryPropertiesWindows.h"
#include "search/qt/MatchListWindows.h"
#include "search/qt/QELViewWindows.h"

namespace qel {
namespace {

QString fromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The companion programs: beside the window program's executable (in the build tree and in the
// installed bin/ folder alike, where the data lives elsewhere), started without arguments.
constexpr std::pair<Command, const char*> kCompanions[] = {
    {Command::kDictionaryBuilder, "RIDOZAD"},
    {Command::kWordListMerge, "RAVAZAV"},
};

QString companionPath(const char* program) {
  return QCoreApplication::applicationDirPath() + "/" + program;
}

// The commands that stand in a menu, for its help context.
std::vector<Command> commandsOf(const QMenu* menu) {
  std::vector<Command> commands;
  for (const QAction* action : menu->actions()) {
    if (action->data().isValid()) commands.push_back(static_cast<Command>(action->data().toInt()));
  }
  return commands;
}

}  // namespace

QAction* QELFrameWindow::action(Command command) const {
  const auto it = m_actions.find(command);
  return it == m_actions.end() ? nullptr : it->second;
}

QAction* QELFrameWindow::addCommand(QMenu* menu, Command command) {
  const CommandInfo& info = commandInfo(command);
  QString text = fromUtf8(info.text);
  const int tab = text.indexOf('\t');
  QAction* action = menu->addAction(tab < 0 ? text : text.left(tab));
  if (tab >= 0) action->setShortcut(QKeySequence(text.mid(tab + 1)));
  action->setStatusTip(fromUtf8(info.hint));
  action->setData(static_cast<int>(command));
  m_actions[command] = action;
  return action;
}

void QELFrameWindow::buildMenus() {
  m_fileMenu = menuBar()->addMenu(tr("&File"));
  connect(addCommand(m_fileMenu, Command::kOpen), &QAction::triggered, this,
          &QELFrameWindow::openWithDialog);
  connect(addCommand(m_fileMenu, Command::kClose), &QAction::triggered, this,
          &QELFrameWindow::closeActiveDictionary);
  connect(addCommand(m_fileMenu, Command::kSaveResults), &QAction::triggered, m_output.get(),
          &ResultsOutput::saveResults);
  connect(addCommand(m_fileMenu, Command::kDemote), &QAction::triggered, this,
          &QELFrameWindow::demoteActiveDictionary);
  connect(addCommand(m_fileMenu, Command::kPromote), &QAction::triggered, this,
          &QELFrameWindow::promoteActiveDictionary);
  connect(addCommand(m_fileMenu, Command::kProperties), &QAction::triggered, this,
          &QELFrameWindow::showDictionaryProperties);
  m_fileMenu->addSeparator();
  connect(addCommand(m_fileMenu, Command::kPrint), &QAction::triggered, m_output.get(),
          &ResultsOutput::printResults);
  connect(addCommand(m_fileMenu, Command::kPrintPreview), &QAction::triggered, m_output.get(),
          &ResultsOutput::printPreview);
  connect(addCommand(m_fileMenu, Command::kPageSetup), &QAction::triggered, m_output.get(),
          &ResultsOutput::pageSetup);
  m_recentSeparator = m_fileMenu->addSeparator();
  for (int i = 0; i < kMaxRecentFileItems; ++i) {
    QAction* recent = new QAction(m_fileMenu);
    recent->setStatusTip(fromUtf8(commandInfo(Command::kRecentFile).hint));
    connect(recent, &QAction::triggered, this, [this, i] {
      if (i < static_cast<int>(m_recent.size()))
        openDictionaries({QFile::decodeName(m_recent[i].c_str())});
    });
    m_recentActions.push_back(recent);
  }
  m_fileMenu->addSeparator();
  connect(addCommand(m_fileMenu, Command::kExit), &QAction::triggered, this, &QWidget::close);

  QMenu* edit = menuBar()->addMenu(tr("&Edit"));
  connect(addCommand(edit, Command::kCut), &QAction::triggered, this,
          [this] { copyCommand(true); });
  connect(addCommand(edit, Command::kCopy), &QAction::triggered, this,
          [this] { copyCommand(false); });
  connect(addCommand(edit, Command::kPaste), &QAction::triggered, this,
          [this] { m_view->patternBox()->lineEdit()->paste(); });
  connect(addCommand(edit, Command::kSelectAll), &QAction::triggered, this,
          &QELFrameWindow::selectAllCommand);
  edit->addSeparator();
  addCommand(edit, Command::kLookup);
  addCommand(edit, Command::kLookupInNewWindow);
  QMenu* external = edit->addMenu(fromUtf8(commandInfo(Command::kExternalLookup).text));
  m_actions[Command::kExternalLookup] = external->menuAction();
  external->menuAction()->setStatusTip(fromUtf8(commandInfo(Command::kExternalLookup).hint));
  external->addSeparator();
  addCommand(external, Command::kExternalLookupSetup);
  m_lookupCommands->setUp(
      external, [this](Command command) { return action(command); }, [this] { updateCommands(); });
  connect(m_view, &QELViewWindows::menuAboutToShow, this, &QELFrameWindow::updateCommands);

  QMenu* tools = menuBar()->addMenu(tr("&Tools"));
  connect(addCommand(tools, Command::kOptions), &QAction::triggered, m_appliedOptions.get(),
          &AppliedOptions::showOptions);
  tools->addSeparator();
  for (auto [command, program] : kCompanions) {
    connect(addCommand(tools, command), &QAction::triggered, this, [this, program] {
      if (!QProcess::startDetached(companionPath(program), {})) {
        UserPrompts::current().warning(this, tr("Program Start Failed"),
                                       tr("%1 could not be started.").arg(companionPath(program)));
      }
    });
  }

  QMenu* window = menuBar()->addMenu(tr("&Window"));
  auto* tiling = new QActionGroup(window);
  for (Command tile : {Command::kTileHorizontal, Command::kTileVertical}) {
    QAction* a = addCommand(window, tile);
    a->setCheckable(true);
    tiling->addAction(a);
    const int orientation = tile == Command::kTileVertical ? kPanesSideBySide : kPanesStacked;
    connect(a, &QAction::triggered, this, [this, orientation] {
      m_view->setOrientation(orientation);
      writePaneOrientation(m_settings, orientation);
    });
  }

  QMenu* help = menuBar()->addMenu(tr("&Help"));
  connect(addCommand(help, Command::kQuickReference), &QAction::triggered, this,
          &QELFrameWindow::showQuickReference);
  connect(addCommand(help, Command::kStartupTips), &QAction::triggered, this,
          &QELFrameWindow::showStartupTips);
  help->addSeparator();
  connect(addCommand(help, Command::kHelpContents), &QAction::triggered, this,
          [this] { showHelp(static_cast<int>(Command::kHelpContents), this); });
  connect(addCommand(help, Command::kEmailSupport), &QAction::triggered, this,
          [] { QDesktopServices::openUrl(supportMailUrl()); });
  connect(addCommand(help, Command::kOnlineHelp), &QAction::triggered, this,
          [] { QDesktopServices::openUrl(onlineHelpUrl()); });
  connect(addCommand(help, Command::kOnlineTutorial), &QAction::triggered, this,
          [] { QDesktopServices::openUrl(onlineTutorialUrl()); });
  help->addSeparator();
  connect(addCommand(help, Command::kAbout), &QAction::triggered, this, [this] {
    QMessageBox::about(
        this, tr("About QEL"),
        tr("<p><b>QEL</b> %1<br>A word finder for crossword solvers and setters.</p>"
           "<p>The default dictionary holds the words of WordNet&nbsp;3.0 (Copyright 2006 by "
           "Princeton University) and of a SCOWL-derived word list (Copyright 2000-2011 by Kevin "
           "Atkinson and the authors of its sources), used under their licences.</p>")
            .arg(QApplication::applicationVersion()));
  });

  // Opening a menu brings its commands up to date and makes it the help topic of F1 until it
  // closes; F1 pressed in the menu itself opens that topic.
  for (QMenu* menu : {m_fileMenu, edit, external, tools, window, help}) {
    connect(menu, &QMenu::aboutToShow, this, [this, menu] {
      updateCommands();
      if (const int context = menuHelpContext(commandsOf(menu))) m_helpContext = context;
    });
    connect(menu, &QMenu::aboutToHide, this, [this] { m_helpContext = kMainViewHelpContext; });
    menu->installEventFilter(this);
    showItemHints(menu);
  }
  connect(new QShortcut(QKeySequence(Qt::Key_F1), this), &QShortcut::activated, this,
          [this] { showHelp(m_helpContext, this); });
  connect(m_fileMenu, &QMenu::aboutToShow, this, &QELFrameWindow::updateRecentFiles);

  m_view->menus().setPaneActions({action(Command::kProperties), action(Command::kClose),
                                  action(Command::kSaveResults), action(Command::kDemote),
                                  action(Command::kPromote)});
  m_view->menus().setResultsActions({action(Command::kPrint), action(Command::kPrintPreview)});

  auto* patternFocus = new QShortcut(QKeySequence(Qt::Key_F4), this);
  connect(patternFocus, &QShortcut::activated, this, [this] {
    activateWindow();
    m_view->patternBox()->setFocus();
  });
  connect(qApp, &QGuiApplication::focusWindowChanged, this,
          [this] { noteActivation(QApplication::activeWindow()); });
  // From whichever of the program's windows has the keyboard, as a window it brought forward
  // is where the next F6 is pressed.
  for (const auto& [key, sendBack] : {std::pair{Qt::Key_F5, false}, std::pair{Qt::Key_F6, true}}) {
    auto* shortcut = new QShortcut(QKeySequence(key), this);
    shortcut->setContext(Qt::ApplicationShortcut);
    connect(shortcut, &QShortcut::activated, this,
            [this, sendBack] { cycleOwnedWindows(sendBack); });
  }
  updateCommands();
}

// Each command is enabled when it can act now.
void QELFrameWindow::updateCommands() {
  // (Also called when the active pane changes, so that the pane menu's commands follow it.)
  if (m_actions.empty() || !m_dictionaries) return;
  CommandSnapshot now;
  now.searching = m_view->state() == SearchState::Searching;
  now.dictionaries = m_dictionaries->count();
  now.panesShown = now.dictionaries == m_view->paneCount();
  now.activePane = std::clamp(m_view->activePane(), 0, std::max(now.dictionaries - 1, 0));
  if (now.panesShown && now.dictionaries > 0) {
    now.activeName = QFile::decodeName(m_dictionaries->name(now.activePane).c_str()).toStdString();
    if (const SearchSession* session = m_view->session()) {
      now.activeResults = session->pane(now.activePane).results.count();
      now.activeSelected = session->pane(now.activePane).results.selection().selectedCount();
    }
  }
  now.inPattern = m_view->patternHasFocus();
  now.patternSelection = m_view->patternBox()->lineEdit()->hasSelectedText();
  now.sideBySide = m_view->orientation() == kPanesSideBySide;
  for (auto [command, program] : kCompanions) {
    if (QFileInfo(companionPath(program)).isExecutable()) now.companionsFound.push_back(command);
  }
  for (const CommandState& state : commandStates(now)) {
    QAction* command = action(state.command);
    command->setEnabled(state.enabled);
    if (state.checked) command->setChecked(true);
    if (!state.text.empty()) command->setText(fromUtf8(state.text));
  }
  m_lookupCommands->updateLookupCommands();
  for (QAction* recent : m_recentActions) recent->setEnabled(!now.searching);
}

void QELFrameWindow::updateRecentFiles() {
  for (QAction* recent : m_recentActions) m_fileMenu->removeAction(recent);
  const QList<QAction*> items = m_fileMenu->actions();
  QAction* before = items.at(items.indexOf(m_recentSeparator) + 1);
  for (size_t i = 0; i < m_recent.size() && i < m_recentActions.size(); ++i) {
    if (m_recent[i].empty()) break;
    m_recentActions[i]->setText(fromUtf8(
        recentFileText(static_cast<int>(i), QFile::decodeName(m_recent[i].c_str()).toStdString())));
    m_fileMenu->insertAction(before, m_recentActions[i]);
  }
}

void QELFrameWindow::showDictionaryProperties() {
  const int active = m_view->activePane();
  if (active < 0 || active >= m_dictionaries->count()) return;
  QELDictionaryPropertiesWindows dialog(*m_dictionaries, active, m_settings, this);
  connect(&dialog, &PropertiesDialog::helpRequested, &dialog,
          [&dialog](int context) { showHelp(context, &dialog); });
  dialog.exec();
}

bool QELFrameWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && qobject_cast<QMenu*>(watched) &&
      static_cast<QKeyEvent*>(event)->key() == Qt::Key_F1) {
    showHelp(m_helpContext, this);
    return true;
  }
  return QMainWindow::eventFilter(watched, event);
}

// Copy and Cut act on the pattern box when it has the focus, Copy on the active pane's results
// otherwise.
void QELFrameWindow::copyCommand(bool cut) {
  QLineEdit* pattern = m_view->patternBox()->lineEdit();
  if (m_view->patternHasFocus()) {
    cut ? pattern->cut() : pattern->copy();
    return;
  }
  const int active = m_view->activePane();
  if (!cut && active >= 0 && active < m_view->paneCount()) m_view->pane(active).list->copy();
}

void QELFrameWindow::selectAllCommand() {
  QLineEdit* pattern = m_view->patternBox()->lineEdit();
  if (m_view->patternHasFocus()) {
    pattern->selectAll();
    return;
  }
  const int active = m_view->activePane();
  if (active >= 0 && active < m_view->paneCount()) m_view->pane(active).list->selectAll();
}

// F5 brings the front-most of the program's other windows forward; F6 sends the window in front
// behind the others and brings the next one forward, so that repeated F6 goes round them all, the
// main window among them, wherever it is pressed.
// Qt does not tell the stacking order: the order in which the windows were last active stands in
// for it, the most recent in front.
void QELFrameWindow::cycleOwnedWindows(bool sendBack) {
  std::vector<QWidget*> windows;
  for (const QPointer<QWidget>& w : m_activationOrder) {
    if (w && w->isVisible() && !w->isMinimized()) windows.push_back(w);
  }
  for (QWidget* w : QApplication::topLevelWidgets()) {
    const bool window = w->windowType() == Qt::Window || w->windowType() == Qt::Dialog;
    if (window && w->isVisible() && !w->isMinimized() &&
        std::find(windows.begin(), windows.end(), w) == windows.end())
      windows.push_back(w);
  }
  QWidget* active = QApplication::activeWindow();
  if (!sendBack) {
    // The front-most of the others than the one in use.
    for (QWidget* w : windows) {
      if (w != this && w != active) {
        w->raise();
        w->activateWindow();
        return;
      }
    }
    return;
  }
  if (windows.size() < 2) return;
  // The window in use goes behind the last of them, and the next comes forward.
  QWidget* front =
      std::find(windows.begin(), windows.end(), active) != windows.end() ? active : windows.front();
  front->lower();
  // Behind every other, those never yet active included, so that the round reaches them all.
  windows.erase(std::remove(windows.begin(), windows.end(), front), windows.end());
  windows.push_back(front);
  m_activationOrder.assign(windows.begin(), windows.end());
  windows.front()->raise();
  windows.front()->activateWindow();
}

void QELFrameWindow::noteActivation(QWidget* window) {
  if (!window || qobject_cast<QMenu*>(window)) return;
  m_activationOrder.erase(
      std::remove_if(m_activationOrder.begin(), m_activationOrder.end(),
                     [window](const QPointer<QWidget>& w) { return !w || w == window; }),
      m_activationOrder.end());
  m_activationOrder.insert(m_activationOrder.begin(), window);
}

}  // namespace qel
