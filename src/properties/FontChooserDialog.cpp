// The font chooser with its text colour.
#include "properties/FontChooserDialog.h"

#include <QDialogButtonBox>
#include <QFontDialog>
#include <QFontInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "app/qt/SettingsFonts.h"
#include "properties/PVWControls.h"

namespace qel {
namespace {

// The font dialog works in points; stored fonts are in pixels. The same size in points, so that
// the dialog starts at the size the font has on this screen.
QFont inPoints(const QFont& font, int dotsPerInch) {
  QFont points = font;
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
  m_fonts->setCurrentFont(inPoints(font, logicalDpiY()));

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
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_fonts);
  layout->addLayout(colourRow);
  layout->addWidget(buttons);
}

QFont FontChooserDialog::font() const { return m_fonts->currentFont(); }

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
