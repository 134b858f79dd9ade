// The Lookup Methods dialog.
#include "lookup/qt/LookupPropertiesViewWindows.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/HelpContexts.h"
#include "app/Messages.h"
#include "app/qt/HelpWindow.h"
#include "app/qt/UserPrompts.h"
#include "lookup/LookupArguments.h"
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

  body->addWidget(
      methodGroup(tr("Use &web search script:"), LookupKind::kWebSearch, kAllRows, "web"));
  body->addWidget(methodGroup(tr("Use &DDE"), LookupKind::kDde, kAllRows, "dde"));
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

void LookupPropertiesViewWindows::open(QWidget* parent, LookupMethodTable& table,
                                       SettingsBackend& settings, TestLookup testLookup) {
  LookupPropertiesViewWindows dialog(table, settings, std::move(testLookup), parent);
  connect(&dialog, &PropertiesDialog::helpRequested, &dialog,
          [&dialog](int context) { showHelp(context, &dialog); });
  dialog.exec();
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
        // Here the conversation goes over the D-Bus session bus.
        addLabelled(2, tr("Service:"), first);
        first->setToolTip(tr("The D-Bus name of the application, such as org.example.Words"));
        QWidget* topic = secondEdit();
        addLabelled(4, tr("Topic:"), topic);
        topic->setToolTip(tr("The object whose Execute method takes the word, such as Words"));
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

QWidget* LookupPropertiesViewWindows::parameterEdit(std::string* parameter, const QString& name) {
  auto* edit =
      bind(new PVWEdit({[parameter] { return fromUtf8(*parameter); },
                        [parameter](const QString& text) { *parameter = text.toStdString(); }}));
  edit->setObjectName(name);
  edit->setCursorPosition(0);  // a long address shows its start
  return edit;
}

void LookupPropertiesViewWindows::testLookup() {
  std::string word;
  if (!cp1252::fromUtf8(m_table.testWord(), word) || word.empty()) return;
  m_table.resolveDefault();
  refreshBoxes();
  if (m_testLookup) m_testLookup(this, word);
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

// A word the dictionaries' code page cannot hold could not be looked up as typed.
void LookupPropertiesViewWindows::updateTestButton() {
  std::string word;
  const bool usable = cp1252::fromUtf8(m_table.testWord(), word) && !word.empty();
  if (auto* test = findChild<QPushButton*>("testLookup")) test->setEnabled(usable);
}

}  // namespace qel
