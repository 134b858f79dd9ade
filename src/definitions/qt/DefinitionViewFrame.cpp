#include "definitions/qt/DefinitionViewFrame.h"

#include <QAction>
#include <QCloseEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QShortcut>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QTreeWidget>
#include <QWindow>

#include "app/HelpContexts.h"
#include "app/SettingsBackend.h"
#include "common/qt/HelpWindow.h"
#include "common/qt/WindowPosition.h"
#include "definitions/DefinitionHighlights.h"
#include "definitions/qt/DefinitionRichEdit.h"
#include "definitions/qt/DefinitionViewWindows.h"
#include "platform/qt/CoreText.h"

namespace qel {
namespace {

uint64_t g_activations = 0;  // counts activations of every definition window

// A lookup item's text with the word put in at its place: &Lookup "tail".
QString withWord(const QString& text, int at, const std::string& word) {
  if (word.empty()) return text;
  QString result = text;
  return result.insert(at, QStringLiteral(" \"%1\"").arg(fromCp1252(word)));
}

const QString kLookupText = QStringLiteral("&Lookup");
const QString kLookupInNewWindowText = QStringLiteral("Lookup in &New Window...");

}  // namespace

DefinitionViewFrame::DefinitionViewFrame(DefinitionSource& source, int number, QWidget* parent)
    : QMainWindow(parent), m_source(source), m_number(number) {
  m_client = new DefinitionViewWindows(source.settings(), this);
  setCentralWidget(m_client);
  m_status = new QLabel;
  statusBar()->addWidget(m_status, 1);
  connect(m_client, &DefinitionViewWindows::statusChanged, m_status, &QLabel::setText);

  addAction(kPreviousResult, tr("&Previous Result"), QKeySequence(Qt::ALT | Qt::Key_Up));
  addAction(kNextResult, tr("&Next Result"), QKeySequence(Qt::ALT | Qt::Key_Down));
  addAction(kLookup, kLookupText, QKeySequence(Qt::CTRL | Qt::Key_Return));
  addAction(kLookupInNewWindow, kLookupInNewWindowText,
            QKeySequence(Qt::SHIFT | Qt::CTRL | Qt::Key_Return));
  addAction(kExternalLookup, tr("&External Lookup"),
            QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_Return));
  addAction(kBack, tr("&Back"), QKeySequence(Qt::ALT | Qt::Key_Left));
  addAction(kForward, tr("&Forward"), QKeySequence(Qt::ALT | Qt::Key_Right));
  addAction(kPreviousDefinition, tr("Previous &Definition"),
            QKeySequence(Qt::SHIFT | Qt::CTRL | Qt::Key_Tab));
  addAction(kNextDefinition, tr("Next D&efinition"), QKeySequence(Qt::CTRL | Qt::Key_Tab));
  addAction(kCopy, tr("&Copy"), QKeySequence());
  addAction(kSelectAll, tr("&Select All"), QKeySequence());
  // Ctrl+Shift+Tab arrives as Ctrl+Shift+Backtab.
  action(kPreviousDefinition)
      ->setShortcuts({QKeySequence(Qt::SHIFT | Qt::CTRL | Qt::Key_Tab),
                      QKeySequence(Qt::SHIFT | Qt::CTRL | Qt::Key_Backtab)});
  // Enter on the keypad does the same as Return.
  action(kLookup)->setShortcuts(
      {QKeySequence(Qt::CTRL | Qt::Key_Return), QKeySequence(Qt::CTRL | Qt::Key_Enter)});

  connect(action(kPreviousResult), &QAction::triggered, this, [this] {
    if (m_source.canStepResult(false)) m_source.stepResult(false);
  });
  connect(action(kNextResult), &QAction::triggered, this, [this] {
    if (m_source.canStepResult(true)) m_source.stepResult(true);
  });
  for (auto [c, lookup] : {std::pair{kLookup, qel::Command::kLookup},
                           std::pair{kLookupInNewWindow, qel::Command::kLookupInNewWindow},
                           std::pair{kExternalLookup, qel::Command::kExternalLookup}}) {
    connect(action(c), &QAction::triggered, this,
            [this, command = lookup] { lookupFromText(command); });
  }
  connect(action(kBack), &QAction::triggered, this,
          [this] { goToHistory(m_history.position() - 1); });
  connect(action(kForward), &QAction::triggered, this,
          [this] { goToHistory(m_history.position() + 1); });
  connect(action(kPreviousDefinition), &QAction::triggered, this,
          [this] { m_client->stepDefinition(false); });
  connect(action(kNextDefinition), &QAction::triggered, this,
          [this] { m_client->stepDefinition(true); });
  DefinitionRichEdit* text = m_client->text();
  connect(action(kCopy), &QAction::triggered, text, &QTextBrowser::copy);
  connect(action(kSelectAll), &QAction::triggered, text, &QTextBrowser::selectAll);
  connect(text, &QTextBrowser::selectionChanged, this, &DefinitionViewFrame::updateCommands);
  connect(text, &QTextBrowser::cursorPositionChanged, this, &DefinitionViewFrame::updateCommands);
  connect(text, &DefinitionRichEdit::menuRequested, this,
          [this](QPoint at) { contextMenu()->popup(at); });

  buildToolBar();
  connect(new QShortcut(QKeySequence::HelpContents, this), &QShortcut::activated, this,
          [this] { showHelp(help::kDefinitionWindow, this); });

  m_menu = new QMenu(this);
  m_goTo = m_menu->addMenu(tr("&Go To"));
  for (Command c :
       {kPreviousDefinition, kNextDefinition, kPreviousResult, kNextResult, kBack, kForward}) {
    m_goTo->addAction(action(c));
  }
  m_goTo->addSeparator();
  m_menu->addAction(action(kLookup));
  m_menu->addAction(action(kLookupInNewWindow));
  m_external = m_menu->addMenu(tr("&External Lookup"));
  m_external->addSeparator();
  m_external->addAction(tr("&Setup..."))
      ->setData(QVariant::fromValue(qel::Command::kExternalLookupSetup));
  connect(m_external, &QMenu::triggered, this, [this](QAction* chosen) {
    const auto command = chosen->data().value<qel::Command>();
    if (command == qel::Command::kExternalLookupSetup) {
      m_source.showLookupSetup(this);
    } else if (externalLookupMethodPosition(command)) {
      lookupFromText(command);
    }
  });
  m_menu->addSeparator();
  m_menu->addAction(action(kCopy));
  m_menu->addAction(action(kSelectAll));

  setWindowTitle(tr(" - Definition [%1]").arg(m_number));
  const std::string positionName = definitionWindowPositionName(m_number);
  if (!restoreWidgetPosition(*this, source.settings(), positionName)) {
    const ScreenArea screen = screenArea(*this);
    placeWidget(*this, {screen.left + screen.width / 4, screen.top + screen.height / 4,
                        screen.width / 2, screen.height / 2});
  }
  updateCommands();
}

QAction* DefinitionViewFrame::addAction(Command command, const QString& text,
                                        const QKeySequence& shortcut) {
  auto* a = new QAction(text, this);
  a->setShortcut(shortcut);
  a->setShortcutContext(Qt::WindowShortcut);
  a->setData(static_cast<int>(command));
  QMainWindow::addAction(a);
  m_actions[command] = a;
  return a;
}

void DefinitionViewFrame::buildToolBar() {
  QToolBar* bar = addToolBar(tr("Definition"));
  bar->setMovable(false);
  bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  struct Item {
    Command command;
    QStyle::StandardPixmap icon;
    QString text;
    QString tip;
  };
  const Item items[] = {
      {kPreviousResult, QStyle::SP_ArrowUp, tr("Previous"), tr("Previous Result")},
      {kNextResult, QStyle::SP_ArrowDown, tr("Next"), tr("Next Result")},
      {kLookup, QStyle::SP_FileDialogContentsView, tr("Lookup"), tr("Lookup")},
      {kExternalLookup, QStyle::SP_DriveNetIcon, tr("External"), tr("External Lookup")},
      {kBack, QStyle::SP_ArrowBack, tr("Back"), tr("Back")},
      {kForward, QStyle::SP_ArrowForward, tr("Forward"), tr("Forward")},
  };
  bool first = true;
  for (const Item& item : items) {
    if (!first) bar->addSeparator();
    first = false;
    // The tool bar's buttons carry the window's commands under their own short names.
    auto* button = bar->addAction(style()->standardIcon(item.icon), item.text);
    QAction* command = action(item.command);
    button->setToolTip(item.tip + QStringLiteral(" (%1)").arg(
                                      command->shortcut().toString(QKeySequence::NativeText)));
    connect(button, &QAction::triggered, command, &QAction::trigger);
    connect(command, &QAction::enabledChanged, button, &QAction::setEnabled);
    button->setEnabled(command->isEnabled());
  }
}

void DefinitionViewFrame::show(DefinitionsFound found, const std::string& word,
                               const std::string& preferredPath, const std::string& numberSuffix,
                               const FullTextMatch* fullText) {
  m_history.show(word);
  m_client->populate(std::move(found), word + numberSuffix, preferredPath, m_source.look());
  if (fullText) {
    m_client->text()->highlight(fullTextHighlights(m_client->text()->positionText(),
                                                   fullText->alphabet, fullText->patterns),
                                m_source.look().highlight);
  } else {
    highlightWord();
  }
  m_client->text()->setFocus();
  updateCaption();
  updateCommands();
  if (isMinimized()) showNormal();
  QMainWindow::show();
  raise();
  activateWindow();
  m_activationOrder = ++g_activations;
}

void DefinitionViewFrame::goToHistory(int position) {
  if (position < 1 || position > m_history.size() || position == m_history.position()) return;
  m_history.setPosition(position);
  const std::string& word = m_history.current();
  m_client->populate(m_source.definitionsOf(word), word, {}, m_source.look());
  highlightWord();
  updateCaption();
  updateCommands();
}

void DefinitionViewFrame::refresh() {
  const std::vector<TextRange> highlights = m_client->text()->highlights();
  const DefinitionLook look = m_source.look();
  m_client->redisplay(look);
  m_client->text()->highlight(highlights, look.highlight);
}

void DefinitionViewFrame::highlightWord() {
  if (m_history.position() == 0) return;
  m_client->text()->highlight(wordHighlights(m_client->text()->positionText(), m_history.current()),
                              m_source.look().highlight);
}

void DefinitionViewFrame::updateCaption() {
  const QString word = m_history.position() > 0 ? fromCp1252(m_history.current()) : QString();
  setWindowTitle(word + tr(" - Definition [%1]").arg(m_number));
}

QString DefinitionViewFrame::statusText() const { return m_status->text(); }

std::string DefinitionViewFrame::lookupWord() const {
  const auto [word, suffix] = splitNumberSuffix(toCp1252(m_client->text()->lookupText()));
  return word.size() > kMaxLookupWord ? std::string() : word;
}

void DefinitionViewFrame::lookupFromText(qel::Command command) {
  const auto [word, suffix] = splitNumberSuffix(toCp1252(m_client->text()->lookupText()));
  if (word.empty() || word.size() > kMaxLookupWord) return;
  const Definition* current = m_client->currentDefinition();
  m_source.lookup(this, command, word, current ? current->dictionaryPath : std::string(), suffix);
}

void DefinitionViewFrame::updateCommands() {
  action(kBack)->setEnabled(m_history.canGoBack());
  action(kForward)->setEnabled(m_history.canGoForward());
  updateResultSteps();
  const std::string word = lookupWord();
  for (Command c : {kLookup, kLookupInNewWindow, kExternalLookup}) {
    action(c)->setEnabled(!word.empty());
  }
  action(kLookup)->setText(withWord(kLookupText, 7, word));
  action(kLookupInNewWindow)->setText(withWord(kLookupInNewWindowText, 6, word));
  action(kCopy)->setEnabled(m_client->text()->textCursor().hasSelection());
}

void DefinitionViewFrame::updateResultSteps() {
  action(kPreviousResult)->setEnabled(m_source.canStepResult(false));
  action(kNextResult)->setEnabled(m_source.canStepResult(true));
}

void DefinitionViewFrame::prepareContextMenu() {
  updateCommands();
  for (QAction* a : m_historyActions) delete a;
  m_historyActions.clear();
  const int first = m_history.firstListed();
  for (int j = 0; j < m_history.listedCount(); ++j) {
    const int position = first + j;
    QAction* item =
        m_goTo->addAction(fromCp1252(DefinitionHistory::menuText(j, m_history.word(position))));
    item->setCheckable(true);
    item->setChecked(position == m_history.position());
    item->setData(kHistoryItem + j);
    connect(item, &QAction::triggered, this, [this, position] { goToHistory(position); });
    m_historyActions.push_back(item);
  }
  m_source.fillExternalLookupMenu(m_external, !lookupWord().empty());
}

QMenu* DefinitionViewFrame::contextMenu() {
  prepareContextMenu();
  return m_menu;
}

void DefinitionViewFrame::closeEvent(QCloseEvent* event) {
  storeWidgetPosition(*this, m_source.settings(), definitionWindowPositionName(m_number));
  event->accept();
}

void DefinitionViewFrame::changeEvent(QEvent* event) {
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
    m_activationOrder = ++g_activations;
    updateCommands();
  }
  QMainWindow::changeEvent(event);
}

void DefinitionViewFrame::showEvent(QShowEvent* event) {
  // The mouse's Back and Forward buttons act wherever the pointer is in the window, so they are
  // caught before any pane takes them. Installing again replaces the filter.
  if (QWindow* window = windowHandle()) window->installEventFilter(this);
  QMainWindow::showEvent(event);
}

bool DefinitionViewFrame::eventFilter(QObject* watched, QEvent* event) {
  if (watched == windowHandle() &&
      (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonRelease ||
       event->type() == QEvent::MouseButtonDblClick)) {
    const auto* mouse = static_cast<QMouseEvent*>(event);
    const bool back = mouse->button() == Qt::BackButton;
    if (back || mouse->button() == Qt::ForwardButton) {
      // The press acts; the release, and the double click that follows a second press, are
      // only kept from the panes.
      if (event->type() == QEvent::MouseButtonPress) {
        action(back ? kBack : kForward)->trigger();
      }
      return true;
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

}  // namespace qel
