// The External Lookup prompt.
#include "lookup/qt/ExternalLookupViewWindows.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/HelpContexts.h"
#include "common/qt/HelpWindow.h"
#include "lookup/ExternalLookupPrompt.h"
#include "platform/Cp1252.h"

namespace qel {

ExternalLookupViewWindows::ExternalLookupViewWindows(
    LookupMethodTable& table, SettingsBackend& settings, const std::string& wordCp1252,
    bool noDefinitions, LookupPropertiesViewWindows::TestLookup testLookup, QWidget* parent)
    : PropertiesDialog(kDialogName, help::kExternalLookupDialog, Buttons::kOkCancel, settings,
                       parent),
      m_table(table),
      m_wordUtf8(cp1252::toUtf8(wordCp1252)),
      m_noDefinitions(noDefinitions),
      m_testLookup(std::move(testLookup)),
      m_message(new QLabel(this)) {
  setWindowTitle(tr("External Lookup - %1").arg(QString::fromStdString(m_wordUtf8)));
  m_message->setObjectName("message");
  m_message->setWordWrap(true);
  m_message->setTextFormat(Qt::PlainText);
  QPushButton* setup = addButton(tr("&Setup..."));
  setup->setObjectName("setup");
  connect(setup, &QPushButton::clicked, this, &ExternalLookupViewWindows::openSetup);

  auto* body = new QVBoxLayout;
  body->addWidget(m_message);
  // Wide enough that the longest message wraps to a few lines.
  m_message->setMinimumWidth(fontMetrics().averageCharWidth() * 60);
  refresh();
  setUp(body, Sizing::kFixed);
}

bool ExternalLookupViewWindows::ask(QWidget* parent, LookupMethodTable& table,
                                    SettingsBackend& settings, const std::string& wordCp1252,
                                    bool noDefinitions,
                                    LookupPropertiesViewWindows::TestLookup testLookup) {
  ExternalLookupViewWindows prompt(table, settings, wordCp1252, noDefinitions,
                                   std::move(testLookup), parent);
  connect(&prompt, &PropertiesDialog::helpRequested, &prompt,
          [&prompt](int context) { showHelp(context, &prompt); });
  return prompt.exec() == QDialog::Accepted;
}

QString ExternalLookupViewWindows::message() const { return m_message->text(); }

void ExternalLookupViewWindows::openSetup() {
  if (!LookupPropertiesViewWindows::open(this, m_table, settings(), m_testLookup)) {
    // Asked from the Lookup Methods dialog's Test lookup: the methods are set up there, so this
    // prompt gives way to it.
    reject();
    return;
  }
  refresh();
}

void ExternalLookupViewWindows::refresh() {
  const bool noneEnabled = m_table.enabledCount() == 0;
  m_message->setText(
      QString::fromStdString(externalLookupPromptText(m_wordUtf8, m_noDefinitions, noneEnabled)));
  acceptButton()->setEnabled(!noneEnabled);
}

}  // namespace qel
