#include "app/qt/LookupCommands.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QMenu>
#include <QShortcut>

#include "app/Options.h"
#include "common/qt/UserPrompts.h"
#include "definitions/qt/DefinitionViewFrame.h"
#include "dictionary/QCDictionaryDefinitionRetriever.h"
#include "lookup/LookupMethodTable.h"
#include "lookup/qt/LookupService.h"
#include "search/qt/QELViewWindows.h"

namespace qel {

LookupCommands::LookupCommands(LookupService& lookup, QELViewWindows& view, const Options& options,
                               QWidget& window)
    : m_lookup(&lookup), m_view(&view), m_options(options), m_window(&window) {}

// The definition windows outlive this: their Next and Previous Result must not step through it.
LookupCommands::~LookupCommands() { m_lookup->setResultStepper(nullptr, nullptr); }

void LookupCommands::setUp(QMenu* externalLookup, std::function<QAction*(Command)> actions,
                           std::function<void()> updateCommands) {
  m_action = std::move(actions);
  m_updateCommands = std::move(updateCommands);
  m_lookup->setResultStepper(
      [this](bool next) { return m_view->canStepResult(next); },
      [this](bool next) {
        if (!m_view->stepResult(next)) return;
        const int pane = m_view->activePane();
        const auto& results = m_view->session()->pane(pane).results;
        if (const auto subject = m_view->resultSubject(pane, results.selection().caret())) {
          lookupSubject(*subject, Command::kLookup);
        }
      });
  // Enter on the keypad does what Return does. The items name the keys as the shortcut menus do
  // ("Ctrl+Enter"), not as Qt names the first of them ("Ctrl+Return").
  action(Command::kLookup)
      ->setShortcuts(
          {QKeySequence(Qt::CTRL | Qt::Key_Return), QKeySequence(Qt::CTRL | Qt::Key_Enter)});
  action(Command::kLookupInNewWindow)
      ->setShortcuts({QKeySequence(Qt::SHIFT | Qt::CTRL | Qt::Key_Return),
                      QKeySequence(Qt::SHIFT | Qt::CTRL | Qt::Key_Enter)});
  for (Command command : {Command::kLookup, Command::kLookupInNewWindow}) {
    action(command)->setText(
        QString::fromUtf8(commandInfo(command).text.data(),
                          static_cast<qsizetype>(commandInfo(command).text.size())));
  }
  externalLookup->setTitle(externalLookup->title() + "\tCtrl+Alt+Enter");
  connect(action(Command::kLookup), &QAction::triggered, this,
          [this] { lookupCommand(Command::kLookup); });
  connect(action(Command::kLookupInNewWindow), &QAction::triggered, this,
          [this] { lookupCommand(Command::kLookupInNewWindow); });
  for (QKeySequence keys : {QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_Return),
                            QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_Enter)}) {
    connect(new QShortcut(keys, m_window), &QShortcut::activated, this,
            [this] { lookupCommand(Command::kExternalLookup); });
  }
  connect(action(Command::kExternalLookupSetup), &QAction::triggered, this,
          [this] { m_lookup->showLookupSetup(m_window); });
  connect(externalLookup, &QMenu::aboutToShow, this, [this, externalLookup] {
    m_lookup->fillExternalLookupMenu(externalLookup, m_view->lookupSubject().has_value());
  });
  connect(externalLookup, &QMenu::triggered, this, [this](QAction* chosen) {
    const auto command = chosen->data().value<Command>();
    if (externalLookupMethodPosition(command)) lookupCommand(command);
  });
  m_view->menus().setLookupActions({action(Command::kLookup), action(Command::kLookupInNewWindow),
                                    externalLookup->menuAction()});
  // Lookup's keys act only while the command is enabled: it follows the focus and the selection.
  connect(m_view, &QELViewWindows::lookupSubjectChanged, this,
          &LookupCommands::updateLookupCommands);
  connect(m_view->patternBox(), &QComboBox::editTextChanged, this,
          &LookupCommands::updateLookupCommands);
  connect(qApp, &QApplication::focusChanged, this, &LookupCommands::updateLookupCommands);
  // The definition windows' Previous and Next Result follow the results as they change here,
  // without waiting to be activated.
  const auto resultStepsChanged = [this] { m_lookup->resultStepsChanged(); };
  connect(m_view, &QELViewWindows::lookupSubjectChanged, this, resultStepsChanged);
  connect(m_view, &QELViewWindows::activePaneChanged, this, resultStepsChanged);
  connect(m_view, &QELViewWindows::stateChanged, this, resultStepsChanged);
  connect(m_view, &QELViewWindows::resultDoubleClicked, this,
          [this](int, Qt::KeyboardModifiers modifiers) {
            m_updateCommands();
            if (m_options.viewDoubleClick == 1) {
              lookupCommand(Command::kExternalLookup);
            } else {
              lookupCommand((modifiers & Qt::ShiftModifier) ? Command::kLookupInNewWindow
                                                            : Command::kLookup);
            }
          });
}

void LookupCommands::updateLookupCommands() {
  const bool word = m_view->lookupSubject().has_value();
  action(Command::kLookup)->setEnabled(word);
  action(Command::kLookupInNewWindow)->setEnabled(word);
}

void LookupCommands::lookupCommand(Command command) {
  if (const auto subject = m_view->lookupSubject()) lookupSubject(*subject, command);
}

void LookupCommands::lookupSubject(const QELViewWindows::LookupSubject& subject, Command command) {
  const bool definitionWindow =
      command == Command::kLookup || command == Command::kLookupInNewWindow;
  if (definitionWindow && subject.definitionNumber != 0 && subject.pane >= 0) {
    showFullTextResult(subject.pane, subject.word, subject.definitionNumber,
                       command == Command::kLookupInNewWindow);
  } else {
    m_lookup->lookup(m_window, command, subject.word);
  }
}

// The definition a full-text search found, unless its dictionary has changed since.
void LookupCommands::showFullTextResult(int pane, const std::string& word, int32_t definitionNumber,
                                        bool newWindow) {
  const SearchSession* session = m_view->session();
  if (!session || pane >= m_dictionaries->count()) return;
  int64_t fileTime = 0;
  QCDictionaryDefinitionRetriever retriever(*m_dictionaries, pane, &fileTime);
  DefinitionsFound found;
  found.definitions.emplace_back();
  if (fileTime != session->pane(pane).dictionaryStamp || !retriever.isOpen() ||
      !retriever.read(static_cast<uint32_t>(definitionNumber), found.definitions[0])) {
    UserPrompts::current().warning(
        m_window, tr("Dictionary Changed"),
        tr("The dictionary has been updated.\n\nPlease rerun the search and try again."));
    return;
  }
  Definition& definition = found.definitions[0];
  definition.dictionaryNumber = 0;
  definition.entryText = word;
  found.dictionaries =
      std::make_shared<QCDictionaryList>(std::vector<std::string>{m_dictionaries->path(pane)});
  const std::unique_ptr<MatchEngineSet> patterns = session->searchPatterns(pane);
  if (!patterns) {
    m_lookup->windows().window(newWindow)->show(std::move(found), word);
    return;
  }
  const FullTextMatch match{m_dictionaries->alphabet(pane), *patterns};
  m_lookup->showDefinition(newWindow, std::move(found), word, match);
}

}  // namespace qel
