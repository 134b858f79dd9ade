// The base of the program's dialogs: a dialog name under which its place on the screen is kept, a
// Help button that asks for the dialog's help context, and controls bound to values.
#pragma once

#include <QDialog>
#include <QPointer>
#include <QString>
#include <string>
#include <string_view>
#include <vector>

#include "app/SettingsBackend.h"
#include "properties/PVWControls.h"

class QDialogButtonBox;
class QLayout;
class QPushButton;

namespace qel {

// A derived dialog builds its controls in its constructor, declaring each bound one with bind(),
// and ends with setUp(layout). For example:
//
//   auto* form = new QFormLayout;
//   form->addRow(tr("&@ becomes:"), bind(new PVWEdit(PVWValue<QString>::of(m_at))));
//   form->addRow(bind(new PVWCheckBox(tr("E&xclusive letter variables"),
//                                     PVWValue<bool>::of(m_exclusive))));
//   setUp(form);
class PropertiesDialog : public QDialog {
  Q_OBJECT

 public:
  // The buttons beside "&Help", and when the bound values are written back.
  enum class Buttons {
    kOkCancel,  // "&OK" writes them back and closes; "&Cancel" closes and writes nothing
    kOk,        // "&OK" writes them back and closes; the dialog mostly shows things
    kClose,     // "&Close" closes; each change the user makes is written back at once
  };
  // A dialog of fixed size takes the size its controls need, and keeps it when its position is
  // put back.
  enum class Sizing { kResizable, kFixed };

  // An empty `dialogName` keeps no position. `settings` outlives the dialog.
  PropertiesDialog(std::string_view dialogName, int helpContext, Buttons buttons,
                   SettingsBackend& settings, QWidget* parent = nullptr);
  // A dialog destroyed while it shows stores its position as closing it would.
  ~PropertiesDialog() override;

  const std::string& dialogName() const { return m_dialogName; }
  int helpContext() const { return m_helpContext; }
  void setHelpContext(int context) { m_helpContext = context; }
  SettingsBackend& settings() const { return m_settings; }

  // Every bound control into its value.
  void writeValues();

  // The button that accepts ("&OK") or the one that closes ("&Cancel", "&Close"); null when the
  // dialog has none. A derived dialog may change the text or enable and disable them.
  QPushButton* acceptButton() const { return m_accept; }
  QPushButton* closeButton() const { return m_close; }
  QPushButton* helpButton() const { return m_help; }

 signals:
  // Help (the button or F1) for this dialog's help context.
  void helpRequested(int context);
  // With Buttons::kClose: the user changed `control` and its value was written back.
  void valueChanged(QWidget* control);

 protected:
  // Binds a control to its value: the value is read into it at once, and written back when the
  // dialog applies (OK), or at each change with Buttons::kClose. The dialog owns the control.
  template <typename Control>
  Control* bind(Control* control) {
    bindControl(*control);
    return control;
  }
  // A further button in the row of buttons (say "&Save as defaults"), before setUp().
  QPushButton* addButton(const QString& text);
  // Puts `body` above the buttons and restores the dialog's position: once, at the end of the
  // derived dialog's constructor.
  void setUp(QLayout* body, Sizing sizing = Sizing::kResizable);

  // What OK does before the dialog closes: writes the values back. A dialog that checks them
  // first returns false to stay open.
  virtual bool apply();

  void done(int result) override;

 private:
  void bindControl(PVWControl& control);
  void storePosition();

  std::string m_dialogName;
  int m_helpContext;
  Buttons m_buttons;
  SettingsBackend& m_settings;
  struct Bound {
    QPointer<QWidget> widget;  // a control the derived dialog deleted is passed over
    PVWControl* control;
  };
  std::vector<Bound> m_controls;
  QDialogButtonBox* m_buttonBox;
  QPushButton* m_accept = nullptr;
  QPushButton* m_close = nullptr;
  QPushButton* m_help = nullptr;
};

}  // namespace qel
