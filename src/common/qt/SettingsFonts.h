// Stored fonts and colours as Qt's, and back.
#pragma once

#include <QColor>
#include <QFont>

#include "app/SettingsFormat.h"

namespace qel {

// A stored font as a QFont: the pixel height from the height, weight, italic, underline,
// strike-out and face, with the family and pitch as the hint for a face this system lacks. The
// text colour is apart: textColour(font).
QFont toQFont(const FontSetting& font);
// A QFont chosen by the user as a stored font; fields Qt has no word for come from `base`.
FontSetting toFontSetting(const QFont& font, const QColor& textColour,
                          const FontSetting& base = {});
QColor toQColor(Colour colour);
Colour toColour(const QColor& colour);
inline QColor textColour(const FontSetting& font) { return toQColor(font.textColour); }

}  // namespace qel
