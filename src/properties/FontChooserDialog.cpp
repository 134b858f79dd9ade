// The font chooser with its text colour.
#include "properties/FontChooserDialog.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/qt/SettingsFonts.h"
#include "properties/PVWControls.h"

namespace qel {
namespace {

// The font as the font dialog can show it. The dialog works in points, stored fonts in pixels:
// the same size in points, so that it starts at the size the font has on this screen. A face this
// system lacks becomes the one that stands in for it, so that it starts at what the sample shows.
QFont shownInDialog(const QFont& font, int dotsPerInch) {
  QFont points = font;
  if (!QFontDatabase::hasFamily(font.family())) points.setFamily(QFontInfo(font).family());
  // The dialog looks its style up by name, and faces name their plain style differently ("Book",
  // "Regular").
  points.setStyleName(QFontInfo(points).styleName());
  if (font.pixelSize() > 0 && dotsPerInch > 0)
    points.setPointSizeF(font.pixelSize() * 72.0 / dotsPerInch);
  return points;
}

}  // namespace

FontChooserDialog::FontChooserDialog(const QString& caption, const QFont& font,
                                     const QColor& colour, QWidget* parent)
    : QDialog(parent), m_fonts(new QFontDialog(this)), m_colour(toColour(colour)) {
  setWindowTitle(caption);
  // The font dialog serves as a part of this one: no window or buttons of its own.
  m_fonts->setWindowFlags(Qt::Widget);
  m_fonts->setOptions(QFontDialog::NoButtons | QFontDialog::DontUseNativeDialog);
  m_fonts->setSizeGripEnabled(false);
  // Its lists and edits would take Return and Escape for the font dialog's own hidden buttons, or
  // for nothing; they belong to this dialog's.
  m_fonts->installEventFilter(this);
  for (QWidget* part : m_fonts->findChildren<QWidget*>()) part->installEventFilter(this);
  m_fonts->setCurrentFont(shownInDialog(font, logicalDpiY()));
  m_start = font;
  m_startStyle = QFontDatabase::styleString(m_fonts->currentFont());

  auto* colourRow = new QHBoxLayout;
  auto* colourButton = new PVWColourButton(tr("Color"), PVWValue<Colour>::of(m_colour), this);
  colourButton->setObjectName("colour");
  colourButton->readValue();
  colourButton->setOnUserChange([colourButton] { colourButton->writeValue(); });
  auto* colourLabel = new QLabel(tr("&Color:"), this);
  colourLabel->setBuddy(colourButton);
  colourRow->addWidget(colourLabel);
  colourRow->addWidget(colourButton);
  colourRow->addStretch();

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setDefault(true);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_fonts);
  layout->addLayout(colourRow);
  layout->addWidget(buttons);
}

bool FontChooserDialog::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool plain = key->modifiers() == Qt::NoModifier || key->modifiers() == Qt::KeypadModifier;
    if (plain && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
      accept();
      return true;
    }
    if (plain && key->key() == Qt::Key_Escape) {
      reject();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

QFont FontChooserDialog::font() const {
  QFont chosen = m_fonts->currentFont();
  // A face without an italic or a bold of its own has it drawn slanted or thicker, and the style
  // list has no entry for that: it shows the plain style. Unless the user picked another style,
  // the font keeps the slant and weight it came with.
  if (QFontDatabase::styleString(chosen) == m_startStyle) {
    chosen.setItalic(m_start.italic());
    chosen.setWeight(m_start.weight());
  }
  return chosen;
}

QColor FontChooserDialog::colour() const { return toQColor(m_colour); }

bool FontChooserDialog::choose(QWidget* parent, const QString& caption, QFont& font,
                               QColor& colour) {
  FontChooserDialog dialog(caption, font, colour, parent);
  if (dialog.exec() != QDialog::Accepted) return false;
  font = dialog.font();
  colour = dialog.colour();
  return true;
}

}  // namespace qel
