// The dialogs' common base: position, help, buttons and bound controls.
#include "properties/PropertiesDialog.h"

#include <QDialogButtonBox>
#include <QKeySequence>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

#include "common/qt/WindowPosition.h"

namespace qel {

PropertiesDialog::PropertiesDialog(std::string_view dialogName, int helpContext, Buttons buttons,
                                   SettingsBackend& settings, QWidget* parent)
    : QDialog(parent),
      m_dialogName(dialogName),
      m_helpContext(helpContext),
      m_buttons(buttons),
      m_settings(settings),
      m_buttonBox(new QDialogButtonBox(this)) {
  if (buttons == Buttons::kClose) {
    m_close = m_buttonBox->addButton(tr("&Close"), QDialogButtonBox::RejectRole);
    m_close->setObjectName("close");
  } else {
    m_accept = m_buttonBox->addButton(tr("&OK"), QDialogButtonBox::AcceptRole);
    m_accept->setObjectName("ok");
    m_accept->setDefault(true);
    if (buttons == Buttons::kOkCancel) {
      m_close = m_buttonBox->addButton(tr("&Cancel"), QDialogButtonBox::RejectRole);
      m_close->setObjectName("cancel");
    }
  }
  m_help = m_buttonBox->addButton(tr("&Help"), QDialogButtonBox::HelpRole);
  m_help->setObjectName("help");
  m_help->setAutoDefault(false);

  connect(m_buttonBox, &QDialogButtonBox::accepted, this, [this] {
    if (apply()) accept();
  });
  connect(m_buttonBox, &QDialogButtonBox::rejected, this, &QDialog::reject);
  const auto askForHelp = [this] { emit helpRequested(m_helpContext); };
  connect(m_buttonBox, &QDialogButtonBox::helpRequested, this, askForHelp);
  auto* f1 = new QShortcut(QKeySequence::HelpContents, this);
  connect(f1, &QShortcut::activated, this, askForHelp);
}

PropertiesDialog::~PropertiesDialog() {
  if (isVisible()) storePosition();
}

void PropertiesDialog::writeValues() {
  for (const Bound& bound : m_controls) {
    if (bound.widget) bound.control->writeValue();
  }
}

QPushButton* PropertiesDialog::addButton(const QString& text) {
  QPushButton* button = m_buttonBox->addButton(text, QDialogButtonBox::ActionRole);
  button->setAutoDefault(false);
  return button;
}

void PropertiesDialog::setUp(QLayout* body, Sizing sizing) {
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(body);
  layout->addWidget(m_buttonBox);
  if (sizing == Sizing::kFixed) layout->setSizeConstraint(QLayout::SetFixedSize);
  // The layout settles the dialog's size limits first, so that a dialog of fixed size keeps its
  // own size when it is put back.
  layout->activate();
  if (!m_dialogName.empty()) restoreDialogPosition(*this, m_settings, m_dialogName);
}

bool PropertiesDialog::apply() {
  writeValues();
  return true;
}

void PropertiesDialog::done(int result) {
  if (isVisible()) storePosition();
  QDialog::done(result);
}

void PropertiesDialog::bindControl(PVWControl& control) {
  QWidget* widget = control.widget();
  if (widget->parent() == nullptr) widget->setParent(this);
  m_controls.push_back({widget, &control});
  control.readValue();
  if (m_buttons == Buttons::kClose) {
    control.setOnUserChange([this, &control, widget] {
      control.writeValue();
      emit valueChanged(widget);
    });
  }
}

void PropertiesDialog::storePosition() {
  if (!m_dialogName.empty()) storeDialogPosition(*this, m_settings, m_dialogName);
}

}  // namespace qel
