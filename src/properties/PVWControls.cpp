// The bound controls of property dialogs.
#include "properties/PVWControls.h"

#include <QApplication>
#include <QButtonGroup>
#include <QFontInfo>
#include <QPainter>
#include <QPixmap>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStyleOptionButton>
#include <QVBoxLayout>
#include <algorithm>

#include "common/qt/SettingsFonts.h"
#include "common/qt/UserPrompts.h"

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

PVWTextCombo::PVWTextCombo(int maxTexts, PVWValue<QString> value, QWidget* parent)
    : QComboBox(parent), m_maxTexts(std::max(maxTexts, 1)), m_value(std::move(value)) {
  // Long texts (lists of paths) must not stretch the dialog: the list drops down wider instead.
  setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  setMinimumContentsLength(32);
  setEnabled(static_cast<bool>(m_value.set));
  connect(this, &QComboBox::activated, this, [this] { userChanged(); });
}

QStringList PVWTextCombo::texts() const {
  QStringList list;
  for (int i = 0; i < count(); ++i) list << itemText(i);
  return list;
}

void PVWTextCombo::setTexts(const QStringList& texts) {
  const QSignalBlocker quiet(this);
  clear();
  for (const QString& text : texts) {
    if (!text.isEmpty() && findText(text, Qt::MatchExactly) < 0 && count() < m_maxTexts)
      addItem(text);
  }
}

void PVWTextCombo::readValue() {
  const QString value = m_value.get();
  const int index = findText(value, Qt::MatchExactly);
  if (index >= 0) {
    const QSignalBlocker quiet(this);
    setCurrentIndex(index);
  } else if (!value.isEmpty()) {
    putOnTop(value);
  } else {
    const QSignalBlocker quiet(this);
    setCurrentIndex(-1);
  }
}

void PVWTextCombo::writeValue() {
  if (m_value.set && currentIndex() >= 0) m_value.set(currentText());
}

void PVWTextCombo::chooseText(const QString& text) {
  if (text.isEmpty()) return;
  putOnTop(text);
  userChanged();
}

void PVWTextCombo::putOnTop(const QString& text) {
  const int index = findText(text, Qt::MatchExactly);
  {
    const QSignalBlocker quiet(this);
    if (index != 0) {
      if (index > 0) removeItem(index);
      insertItem(0, text);
      while (count() > m_maxTexts) removeItem(count() - 1);
    }
    setCurrentIndex(0);
  }
  if (index != 0) emit textsChanged();
}

namespace {

// A sample is drawn smaller to fit its button, down to this; the chooser shows the real size.
constexpr int kMinSamplePixels = 6;

QString fontDescription(const QFont& font) {
  QStringList parts{font.family(), QObject::tr("%1 pixels").arg(QFontInfo(font).pixelSize())};
  if (font.bold()) parts << QObject::tr("bold");
  if (font.italic()) parts << QObject::tr("italic");
  if (font.underline()) parts << QObject::tr("underlined");
  if (font.strikeOut()) parts << QObject::tr("struck out");
  return parts.join(", ");
}

}  // namespace

PVWFontButton::PVWFontButton(const QString& sample, const QString& caption,
                             PVWValue<FontSetting> value, QWidget* parent)
    : QPushButton(sample, parent), m_caption(caption), m_value(std::move(value)) {
  setAutoDefault(false);
  setEnabled(static_cast<bool>(m_value.set));
  connect(this, &QPushButton::clicked, this, &PVWFontButton::choose);
}

void PVWFontButton::readValue() {
  m_font = m_value.get();
  showFont();
}

void PVWFontButton::writeValue() {
  if (m_value.set) m_value.set(m_font);
}

void PVWFontButton::choose() {
  QFont font = toQFont(m_font);
  QColor colour = textColour(m_font);
  if (!UserPrompts::current().chooseFont(window(), m_caption, font, colour)) return;
  // Fields a chosen font has no word for stay as they were.
  m_font = toFontSetting(font, colour, m_font);
  showFont();
  userChanged();
}

// Room for a sample twice the size of the dialog's own text. It does not depend on the font
// shown, so that choosing a large font never makes the dialog grow.
QSize PVWFontButton::sampleRoom() const {
  const QFontMetrics plain(parentWidget() ? parentWidget()->font() : QApplication::font(this));
  return {plain.horizontalAdvance(text()) * 2, plain.height() * 2};
}

QSize PVWFontButton::sizeHint() const {
  QStyleOptionButton option;
  initStyleOption(&option);
  return style()->sizeFromContents(QStyle::CT_PushButton, &option, sampleRoom(), this);
}

QSize PVWFontButton::minimumSizeHint() const { return sizeHint(); }

void PVWFontButton::showFont() {
  const QFont font = toQFont(m_font);
  QFont sample = font;
  const QSize room = sampleRoom();
  int pixels = QFontInfo(font).pixelSize();
  for (;;) {
    const QFontMetrics metrics(sample);
    if (pixels <= kMinSamplePixels ||
        (metrics.height() <= room.height() && metrics.horizontalAdvance(text()) <= room.width()))
      break;
    pixels = std::max(kMinSamplePixels, pixels * 9 / 10);
    sample.setPixelSize(pixels);
  }
  setFont(sample);
  QPalette colours = palette();
  colours.setColor(QPalette::ButtonText, textColour(m_font));
  setPalette(colours);
  setToolTip(fontDescription(font));
}

PVWColourButton::PVWColourButton(const QString& caption, PVWValue<Colour> value, QWidget* parent)
    : QPushButton(parent), m_caption(caption), m_value(std::move(value)) {
  setAutoDefault(false);
  setEnabled(static_cast<bool>(m_value.set));
  connect(this, &QPushButton::clicked, this, &PVWColourButton::choose);
}

void PVWColourButton::readValue() {
  m_colour = m_value.get();
  showColour();
}

void PVWColourButton::writeValue() {
  if (m_value.set) m_value.set(m_colour);
}

void PVWColourButton::choose() {
  const QColor chosen =
      UserPrompts::current().chooseColour(window(), m_caption, toQColor(m_colour));
  if (!chosen.isValid()) return;
  m_colour = toColour(chosen);
  showColour();
  userChanged();
}

void PVWColourButton::showColour() {
  const QColor colour = toQColor(m_colour);
  const int height = fontMetrics().height();
  QPixmap swatch(height * 3, height);
  swatch.fill(colour);
  QPainter frame(&swatch);
  frame.setPen(palette().color(QPalette::WindowText));
  frame.drawRect(swatch.rect().adjusted(0, 0, -1, -1));
  frame.end();
  setIcon(QIcon(swatch));
  setIconSize(swatch.size());
  setToolTip(colour.name());
}

}  // namespace qel
