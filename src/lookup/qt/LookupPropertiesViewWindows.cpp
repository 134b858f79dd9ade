// The Lookup Methods dialog.
#include "lookup/qt/LookupPropertiesViewWindows.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/HelpContexts.h"
#include "app/Messages.h"
#include "common/qt/HelpWindow.h"
#include "common/qt/UserPrompts.h"
#include "lookup/LookupArguments.h"
#include "lookup/qt/LookupPerformer.h"
#include "platform/Cp1252.h"

namespace qel {
namespace {

// The dialog shows every web search and D-Bus slot, and the first two of the others.
constexpr int kAllRows = kLookupSlotCount;
constexpr int kTwoRows = 2;
constexpr char kExecPrefix[] = "exec";

QString fromUtf8(const std::string& text) { return QString::fromStdString(text); }

Qt::CheckState checkState(LookupMethodState state) {
  switch (state) {
    case LookupMethodState::kDisabled:
      return Qt::Unchecked;
    case LookupMethodState::kEnabled:
      return Qt::PartiallyChecked;
    case LookupMethodState::kDefault:
      return Qt::Checked;
  }
  return Qt::Unchecked;
}

LookupMethodState methodState(Qt::CheckState state) {
  switch (state) {
    case Qt::Unchecked:
      return LookupMethodState::kDisabled;
    case Qt::PartiallyChecked:
      return LookupMethodState::kEnabled;
    case Qt::Checked:
      return LookupMethodState::kDefault;
  }
  return LookupMethodState::kDisabled;
}

QString controlName(const char* prefix, const char* what, int slot) {
  return QString("%1%2%3").arg(prefix, what).arg(slot + 1);
}

}  // namespace

LookupPropertiesViewWindows::LookupPropertiesViewWindows(LookupMethodTable& table,
                                                         SettingsBackend& settings,
                                                         TestLookup testLookup, QWidget* parent)
    : PropertiesDialog(kDialogName, help::kLookupMethodsDialog, Buttons::kClose, settings, parent),
      m_table(table),
      m_testLookup(std::move(testLookup)) {
  setWindowTitle(tr("Lookup Methods"));
  auto* body = new QVBoxLayout;

  auto* testRow = new QHBoxLayout;
  auto* testWord =
      bind(new PVWEdit({[this] { return fromUtf8(m_table.testWord()); },
                        [this](const QString& word) { m_table.setTestWord(word.toStdString()); }}));
  testWord->setObjectName("testWord");
  auto* testWordLabel = new QLabel(tr("&Test word:"), this);
  testWordLabel->setBuddy(testWord);
  auto* test = new QPushButton(tr("Test &lookup"), this);
  test->setObjectName("testLookup");
  test->setAutoDefault(false);
  connect(test, &QPushButton::clicked, this, &LookupPropertiesViewWindows::testLookup);
  testRow->addWidget(testWordLabel);
  testRow->addWidget(testWord, 1);
  testRow->addWidget(test);
  body->addLayout(testRow);
  auto* testWarning = new QLabel(this);
  testWarning->setObjectName("testWordWarning");
  testWarning->setWordWrap(true);
  testWarning->setVisible(false);
  body->addWidget(testWarning);

  body->addWidget(
      methodGroup(tr("Use &web search script:"), LookupKind::kWebSearch, kAllRows, "web"));
  // Here a DDE method is an Execute call with the word on the D-Bus session bus; its stored
  // values keep their DDE names.
  body->addWidget(methodGroup(tr("Use &DDE: a D-Bus session service's Execute method"),
                              LookupKind::kDde, kAllRows, "dde"));
  body->addWidget(
      methodGroup(tr("Send a &message"), LookupKind::kWindowMessage, kTwoRows, "message"));
  body->addWidget(
      methodGroup(tr("&Execute application"), LookupKind::kExecute, kTwoRows, kExecPrefix));

  QPushButton* save = addButton(tr("&Save as defaults"));
  save->setObjectName("saveAsDefaults");
  connect(save, &QPushButton::clicked, this, [this] { m_table.save(this->settings()); });

  // A label or a box may have moved the default or changed what is enabled.
  connect(this, &PropertiesDialog::valueChanged, this, [this] {
    refreshBoxes();
    updateTestButton();
  });
  updateTestButton();
  setMinimumWidth(fontMetrics().averageCharWidth() * 120);
  setUp(body);
}

bool LookupPropertiesViewWindows::open(QWidget* parent, LookupMethodTable& table,
                                       SettingsBackend& settings, TestLookup testLookup) {
  // One copy edits the table: a Setup reached again from it (its Test lookup may prompt, and the
  // prompt offers Setup) brings it forward instead.
  static QPointer<LookupPropertiesViewWindows> showing;
  if (showing) {
    showing->raise();
    showing->activateWindow();
    return false;
  }
  LookupPropertiesViewWindows dialog(table, settings, std::move(testLookup), parent);
  connect(&dialog, &PropertiesDialog::helpRequested, &dialog,
          [&dialog](int context) { showHelp(context, &dialog); });
  showing = &dialog;
  dialog.exec();
  return true;
}

QGroupBox* LookupPropertiesViewWindows::methodGroup(const QString& title, LookupKind kind, int rows,
                                                    const char* prefix) {
  auto* group = new QGroupBox(title, this);
  auto* grid = new QGridLayout(group);
  for (int slot = 0; slot < rows; ++slot) {
    const LookupMethodRef ref{kind, slot};
    LookupMethod& method = m_table.method(ref);
    addNameColumns(grid, ref, prefix);
    const auto addLabelled = [&](int column, const QString& text, QWidget* control) {
      auto* label = new QLabel(text, group);
      label->setBuddy(control);
      grid->addWidget(label, slot, column);
      grid->addWidget(control, slot, column + 1);
    };
    const auto secondEdit = [&] {
      return parameterEdit(&method.second, controlName(prefix, "Second", slot));
    };
    QWidget* first = parameterEdit(&method.first, controlName(prefix, "First", slot));
    switch (kind) {
      case LookupKind::kWebSearch:
        addLabelled(2, tr("Address:"), first);
        break;
      case LookupKind::kDde: {
        addLabelled(2, tr("Service:"), first);
        first->setToolTip(tr("The D-Bus name of the application, such as org.example.Words"));
        PVWEdit* topic = secondEdit();
        addLabelled(4, tr("Topic:"), topic);
        topic->setToolTip(tr("Names the object whose Execute method takes the word"));
        // The object path the topic makes, as the call will use it.
        auto* path = new QLabel(group);
        path->setObjectName(controlName(prefix, "Path", slot));
        const auto showPath = [path](const QString& text) {
          path->setText(tr("object %1").arg(fromUtf8(dbusObjectPath(text.toStdString()))));
        };
        showPath(topic->text());
        connect(topic, &QLineEdit::textChanged, path, showPath);
        grid->addWidget(path, slot, 6);
        break;
      }
      case LookupKind::kWindowMessage:
        addLabelled(2, tr("Window:"), first);
        addLabelled(4, tr("Command:"), secondEdit());
        break;
      case LookupKind::kExecute:
        addLabelled(2, tr("Program:"), first);
        grid->addWidget(browseButton(slot), slot, 4);
        grid->addWidget(encodingCombo(method, slot), slot, 5);
        break;
    }
  }
  grid->setColumnStretch(3, 2);
  if (kind == LookupKind::kDde || kind == LookupKind::kWindowMessage) grid->setColumnStretch(5, 1);
  return group;
}

QWidget* LookupPropertiesViewWindows::browseButton(int slot) {
  auto* button = new QPushButton(tr("Browse..."), this);
  button->setObjectName(controlName(kExecPrefix, "Browse", slot));
  button->setAutoDefault(false);
  connect(button, &QPushButton::clicked, this, [this, slot] { browse(slot); });
  return button;
}

QWidget* LookupPropertiesViewWindows::encodingCombo(LookupMethod& method, int slot) {
  const auto text = [](Message message) {
    return fromUtf8(std::string(messageText(messageNumber(message))));
  };
  auto* combo =
      bind(new PVWCombo({{text(Message::kNoEncoding), 0}, {text(Message::kHexEncoding), 1}},
                        {[&method] { return isHexEncoding(method.second) ? 1 : 0; },
                         [&method](const int& code) { method.second = std::to_string(code); }}));
  combo->setObjectName(controlName(kExecPrefix, "Encoding", slot));
  return combo;
}

void LookupPropertiesViewWindows::addNameColumns(QGridLayout* grid, LookupMethodRef ref,
                                                 const QString& prefix) {
  auto* box = bind(new PVWThreeStateBox(
      tr("Name:"),
      {[this, ref] { return checkState(m_table.state(ref)); },
       [this, ref](const Qt::CheckState& state) { m_table.setState(ref, methodState(state)); }}));
  box->setObjectName(QString("%1Box%2").arg(prefix).arg(ref.slot + 1));
  m_boxes.push_back(box);
  auto* label = bind(new PVWEdit(
      {[this, ref] { return fromUtf8(m_table.method(ref).label); },
       [this, ref](const QString& text) { m_table.setLabel(ref, text.toStdString()); }}));
  label->setObjectName(QString("%1Label%2").arg(prefix).arg(ref.slot + 1));
  label->setCursorPosition(0);
  label->setMinimumWidth(fontMetrics().averageCharWidth() * 22);
  grid->addWidget(box, ref.slot, 0);
  grid->addWidget(label, ref.slot, 1);
}

PVWEdit* LookupPropertiesViewWindows::parameterEdit(std::string* parameter, const QString& name) {
  auto* edit =
      bind(new PVWEdit({[parameter] { return fromUtf8(*parameter); },
                        [parameter](const QString& text) { *parameter = text.toStdString(); }}));
  edit->setObjectName(name);
  edit->setCursorPosition(0);  // a long address shows its start
  return edit;
}

void LookupPropertiesViewWindows::testLookup() {
  if (!testWordUsable()) return;
  m_table.resolveDefault();
  refreshBoxes();
  if (m_testLookup) m_testLookup(this, m_table.testWord());
  refreshBoxes();  // the lookup may have cleared a default that named nothing
}

void LookupPropertiesViewWindows::browse(int slot) {
  // Any file may be a program here; a filter of executables would hide scripts.
#ifdef Q_OS_WIN
  const QString filter = tr("Application File (*.exe);;All Files (*)");
#else
  const QString filter = tr("Application File (*)");
#endif
  const QString program =
      UserPrompts::current().openFile(this, tr("Application File Selection"), filter);
  if (program.isEmpty()) return;
  m_table.method({LookupKind::kExecute, slot}).first = program.toStdString();
  if (auto* edit = findChild<PVWEdit*>(controlName(kExecPrefix, "First", slot))) edit->readValue();
}

void LookupPropertiesViewWindows::refreshBoxes() {
  for (PVWThreeStateBox* box : m_boxes) box->readValue();
}

// A word with a character the code page cannot hold goes only to a method that takes it as it
// is: the method the test would use.
bool LookupPropertiesViewWindows::testWordUsable() const {
  std::string word;
  if (cp1252::fromUtf8(m_table.testWord(), word)) return !word.empty();
  LookupMethodTable resolved = m_table;
  resolved.resolveDefault();
  const std::optional<LookupMethodRef> target = resolved.target(Command::kExternalLookup);
  return target && takesAnyCharacter(target->kind);
}

void LookupPropertiesViewWindows::updateTestButton() {
  const bool usable = testWordUsable();
  if (auto* test = findChild<QPushButton*>("testLookup")) test->setEnabled(usable);
  if (auto* warning = findChild<QLabel*>("testWordWarning")) {
    std::string word;
    const bool heldByCodePage = cp1252::fromUtf8(m_table.testWord(), word);
    warning->setText(
        tr("The test word has characters that only a web search or D-Bus method can "
           "pass on, and the default method is neither."));
    warning->setVisible(!usable && !heldByCodePage);
  }
}

}  // namespace qel
