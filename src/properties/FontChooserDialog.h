// The font chooser of the property dialogs: the system's font dialog with a text colour beside it,
// since a stored font carries its colour.
#pragma once

#include <QColor>
#include <QDialog>
#include <QFont>

#include "app/SettingsFormat.h"

class QFontDialog;

namespace qel {

class FontChooserDialog : public QDialog {
  Q_OBJECT

 public:
  FontChooserDialog(const QString& caption, const QFont& font, const QColor& colour,
                    QWidget* parent = nullptr);

  QFont font() const;
  QColor colour() const;

  // Runs the chooser modally; true, with `font` and `colour` replaced, when the user chose OK.
  static bool choose(QWidget* parent, const QString& caption, QFont& font, QColor& colour);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QFontDialog* m_fonts;
  Colour m_colour;
  QFont m_start;         // the font the chooser started at
  QString m_startStyle;  // the style its list showed for it
};

}  // namespace qel
