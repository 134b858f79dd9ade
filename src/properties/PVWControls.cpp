// The bound controls of property dialogs.
#include "properties/PVWControls.h"

#include <QButtonGroup>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace qel {

PVWEdit::PVWEdit(PVWValue<QString> value, QWidget* parent)
    : QLineEdit(parent), m_value(std::move(value)) {
  setReadOnly(!m_value.set);
  // textEdited, not textChanged: only what the user types is a change.
  connect(this, &QLineEdit::textEdited, this, [this] { userChanged(); });
}

void PVWEdit::readValue() { setText(m_value.get()); }

void PVWEdit::writeValue() {
  if (m_value.set) m_value.set(text());
}

PVWCheckBox::PVWCheckBox(const QString& text, PVWValue<bool> value, QWidget* parent)
    : QCheckBox(text, parent), m_value(std::move(value)) {
  setEnabled(static_cast<bool>(m_value.set));
  // clicked, not toggled: a click, Space or the mnemonic, never setChecked().
  connect(this, &QCheckBox::clicked, this, [this] { userChanged(); });
}

void PVWCheckBox::readValue() { setChecked(m_value.get()); }

void PVWCheckBox::writeValue() {
  if (m_value.set) m_value.set(isChecked());
}

PVWThreeStateBox::PVWThreeStateBox(const QString& text, PVWValue<Qt::CheckState> value,
                                   QWidget* parent)
    : QCheckBox(text, parent), m_value(std::move(value)) {
  setTristate(true);
  setEnabled(static_cast<bool>(m_value.set));
  connect(this, &QCheckBox::clicked, this, [this] { userChanged(); });
}

void PVWThreeStateBox::readValue() { setCheckState(m_value.get()); }

void PVWThreeStateBox::writeValue() {
  if (m_value.set) m_value.set(checkState());
}

void PVWThreeStateBox::nextCheckState() {
  switch (checkState()) {
    case Qt::Unchecked:
      setCheckState(Qt::Checked);
      break;
    case Qt::Checked:
      setCheckState(Qt::PartiallyChecked);
      break;
    case Qt::PartiallyChecked:
      setCheckState(Qt::Unchecked);
      break;
  }
}

PVWUpDown::PVWUpDown(int minimum, int maximum, PVWValue<int> value, QWidget* parent)
    : QSpinBox(parent), m_value(std::move(value)) {
  setRange(minimum, maximum);
  setReadOnly(!m_value.set);
  connect(this, &QSpinBox::valueChanged, this, [this] { userChanged(); });
}

void PVWUpDown::readValue() {
  const QSignalBlocker quiet(this);
  setValue(m_value.get());
}

void PVWUpDown::writeValue() {
  if (m_value.set) m_value.set(value());
}

PVWRadioGroup::PVWRadioGroup(const QString& title, std::vector<PVWChoice> choices,
                             PVWValue<int> value, QWidget* parent)
    : QGroupBox(title, parent), m_value(std::move(value)), m_group(new QButtonGroup(this)) {
  auto* layout = new QVBoxLayout(this);
  for (const PVWChoice& choice : choices) {
    auto* button = new QRadioButton(choice.text, this);
    layout->addWidget(button);
    m_group->addButton(button);
    button->setProperty("pvwValue", choice.value);
  }
  setEnabled(static_cast<bool>(m_value.set));
  connect(m_group, &QButtonGroup::buttonClicked, this, [this] { userChanged(); });
}

QAbstractButton* PVWRadioGroup::button(int value) const {
  for (QAbstractButton* button : m_group->buttons()) {
    if (button->property("pvwValue").toInt() == value) return button;
  }
  return nullptr;
}

void PVWRadioGroup::readValue() {
  QAbstractButton* chosen = button(m_value.get());
  if (chosen != nullptr) {
    chosen->setChecked(true);
    return;
  }
  // An exclusive group cannot have its checked button cleared.
  m_group->setExclusive(false);
  for (QAbstractButton* b : m_group->buttons()) b->setChecked(false);
  m_group->setExclusive(true);
}

void PVWRadioGroup::writeValue() {
  const QAbstractButton* chosen = m_group->checkedButton();
  if (m_value.set && chosen != nullptr) m_value.set(chosen->property("pvwValue").toInt());
}

PVWCombo::PVWCombo(std::vector<PVWChoice> choices, PVWValue<int> value, QWidget* parent)
    : QComboBox(parent), m_value(std::move(value)) {
  for (const PVWChoice& choice : choices) addItem(choice.text, choice.value);
  setEnabled(static_cast<bool>(m_value.set));
  // activated, not currentIndexChanged: only a choice of the user's.
  connect(this, &QComboBox::activated, this, [this] { userChanged(); });
}

void PVWCombo::readValue() { setCurrentIndex(findData(m_value.get())); }

void PVWCombo::writeValue() {
  if (m_value.set && currentIndex() >= 0) m_value.set(currentData().toInt());
}

}  // namespace qel
