// Controls of property dialogs bound to values: each reads its value into itself when it is bound
// and writes what the user made of it back when the dialog applies.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QString>
#include <QStringList>
#include <functional>
#include <utility>
#include <vector>

#include "app/SettingsFormat.h"

class QButtonGroup;

namespace qel {

// Where a control's value lives: how to read it and how to write it. Without a setter the value
// is shown only, and the control is read-only.
template <typename T>
struct PVWValue {
  std::function<T()> get;
  std::function<void(const T&)> set;

  // A variable that outlives the control.
  static PVWValue of(T& variable) {
    return {[&variable] { return variable; }, [&variable](const T& value) { variable = value; }};
  }
  static PVWValue shown(T value) {
    return {[value] { return value; }, {}};
  }
};

// One choice of an enumeration: its text (with its "&" mnemonic) and the value it stands for.
struct PVWChoice {
  QString text;
  int value = 0;
};

// What every bound control does. The dialog calls readValue() and writeValue(); the control calls
// back when the user changes it (never while readValue() runs).
class PVWControl {
 public:
  virtual ~PVWControl() = default;

  virtual QWidget* widget() = 0;
  // Value into the control.
  virtual void readValue() = 0;
  // Control into the value; a read-only control writes nothing.
  virtual void writeValue() = 0;
  virtual bool isReadOnly() const = 0;

  void setOnUserChange(std::function<void()> onChange) { m_onUserChange = std::move(onChange); }

 protected:
  void userChanged() {
    if (m_onUserChange) m_onUserChange();
  }

 private:
  std::function<void()> m_onUserChange;
};

// A one-line text edit.
class PVWEdit : public QLineEdit, public PVWControl {
  Q_OBJECT
 public:
  explicit PVWEdit(PVWValue<QString> value, QWidget* parent = nullptr);
  QWidget* widget() override { return this; }
  void readValue() override;
  void writeValue() override;
  bool isReadOnly() const override { return !m_value.set; }

 private:
  PVWValue<QString> m_value;
};

// A check box for an on/off value.
class PVWCheckBox : public QCheckBox, public PVWControl {
  Q_OBJECT
 public:
  PVWCheckBox(const QString& text, PVWValue<bool> value, QWidget* parent = nullptr);
  QWidget* widget() override { return this; }
  void readValue() override;
  void writeValue() override;
  bool isReadOnly() const override { return !m_value.set; }

 private:
  PVWValue<bool> m_value;
};

// A three-state check box for a value that is off, on, or on and singled out: clear, grey and
// checked. A click steps it clear, checked, grey, clear, so that one click turns a choice fully
// on and the next keeps it on without singling it out.
class PVWThreeStateBox : public QCheckBox, public PVWControl {
  Q_OBJECT
 public:
  PVWThreeStateBox(const QString& text, PVWValue<Qt::CheckState> value, QWidget* parent = nullptr);
  QWidget* widget() override { return this; }
  void readValue() override;
  void writeValue() override;
  bool isReadOnly() const override { return !m_value.set; }

 protected:
  void nextCheckState() override;

 private:
  PVWValue<Qt::CheckState> m_value;
};

// A number with up and down arrows, kept within minimum..maximum: a value outside the range is
// shown, and written back, as the nearest end of it.
class PVWUpDown : public QSpinBox, public PVWControl {
  Q_OBJECT
 public:
  PVWUpDown(int minimum, int maximum, PVWValue<int> value, QWidget* parent = nullptr);
  QWidget* widget() override { return this; }
  void readValue() override;
  void writeValue() override;
  bool isReadOnly() const override { return !m_value.set; }

 private:
  PVWValue<int> m_value;
};

// An enumeration as a group of radio buttons, one per choice in the order given. A value that is
// none of the choices checks no button, and is written back unchanged until the user picks one.
class PVWRadioGroup : public QGroupBox, public PVWControl {
  Q_OBJECT
 public:
  PVWRadioGroup(const QString& title, std::vector<PVWChoice> choices, PVWValue<int> value,
                QWidget* parent = nullptr);
  QWidget* widget() override { return this; }
  void readValue() override;
  void writeValue() override;
  bool isReadOnly() const override { return !m_value.set; }
  // The button of the choice with this value, or null.
  QAbstractButton* button(int value) const;

 private:
  PVWValue<int> m_value;
  QButtonGroup* m_group;
};

// An enumeration as a drop-down list, one item per choice in the order given. A value that is
// none of the choices selects no item, and is written back unchanged until the user picks one.
class PVWCombo : public QComboBox, public PVWControl {
  Q_OBJECT
 public:
  PVWCombo(std::vector<PVWChoice> choices, PVWValue<int> value, QWidget* parent = nullptr);
  QWidget* widget() override { return this; }
  void readValue() override;
  void writeValue() override;
  bool isReadOnly() const override { return !m_value.set; }

 private:
  PVWValue<int> m_value;
};

// One text out of a list of texts the user chose before, the most recent first: a history such as
// the definition dictionaries used. The value is the text chosen; a value not in the list joins it
// at the top.
class PVWTextCombo : public QComboBox, public PVWControl {
  Q_OBJECT
 public:
  PVWTextCombo(int maxTexts, PVWValue<QString> value, QWidget* parent = nullptr);
  QWidget* widget() override { return this; }
  void readValue() override;
  void writeValue() override;
  bool isReadOnly() const override { return !m_value.set; }

  QStringList texts() const;
  // The list as it was kept, before the value is read into it; empty texts are passed over.
  void setTexts(const QStringList& texts);
  // A text the user has just chosen elsewhere (say in a dialog): it goes to the top of the list,
  // once, becomes the value, and counts as the user's change.
  void chooseText(const QString& text);

 signals:
  // The list itself changed: a text joined it or moved to its top.
  void textsChanged();

 private:
  // Puts `text` at the top (moving it there when it is in the list already) and selects it.
  void putOnTop(const QString& text);

  int m_maxTexts;
  PVWValue<QString> m_value;
};

// A font, shown as a button with a sample text drawn in it; a click opens the font chooser.
class PVWFontButton : public QPushButton, public PVWControl {
  Q_OBJECT
 public:
  // `caption` is the font chooser's.
  PVWFontButton(const QString& sample, const QString& caption, PVWValue<FontSetting> value,
                QWidget* parent = nullptr);
  QWidget* widget() override { return this; }
  void readValue() override;
  void writeValue() override;
  bool isReadOnly() const override { return !m_value.set; }

  // The font the button shows: the value, or what the user chose since it was read.
  const FontSetting& font() const { return m_font; }

  // The button's size is the dialog's, whatever font it shows.
  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 private:
  void choose();
  void showFont();
  QSize sampleRoom() const;

  QString m_caption;
  PVWValue<FontSetting> m_value;
  FontSetting m_font;
};

// A colour, shown as a button with a swatch of it; a click opens the colour chooser.
class PVWColourButton : public QPushButton, public PVWControl {
  Q_OBJECT
 public:
  PVWColourButton(const QString& caption, PVWValue<Colour> value, QWidget* parent = nullptr);
  QWidget* widget() override { return this; }
  void readValue() override;
  void writeValue() override;
  bool isReadOnly() const override { return !m_value.set; }

  Colour colour() const { return m_colour; }

 private:
  void choose();
  void showColour();

  QString m_caption;
  PVWValue<Colour> m_value;
  Colour m_colour;
};

}  // namespace qel
