// Stored fonts and colours as Qt's.
#include "common/qt/SettingsFonts.h"

#include <QFontInfo>
#include <algorithm>
#include <cstdlib>

namespace qel {
namespace {

constexpr int kMaxPixelSize = 4096;  // a damaged height must not ask for a font of a million pixels
constexpr uint8_t kPitchMask = 0x03;
constexpr uint8_t kFamilyMask = 0xF0;

QFont::StyleHint styleHint(uint8_t pitchAndFamily) {
  switch (static_cast<FontFamily>(pitchAndFamily & kFamilyMask)) {
    case FontFamily::Roman:
      return QFont::Serif;
    case FontFamily::Swiss:
      return QFont::SansSerif;
    case FontFamily::Modern:
      return QFont::Monospace;
    case FontFamily::Script:
      return QFont::Cursive;
    case FontFamily::Decorative:
      return QFont::Decorative;
    case FontFamily::Any:
      break;
  }
  return (pitchAndFamily & kPitchMask) == kFixedPitch ? QFont::Monospace : QFont::AnyStyle;
}

FontFamily fontFamily(QFont::StyleHint hint, bool fixedPitch) {
  switch (hint) {
    case QFont::Serif:
      return FontFamily::Roman;
    case QFont::SansSerif:
      return FontFamily::Swiss;
    case QFont::Monospace:
    case QFont::TypeWriter:
      return FontFamily::Modern;
    case QFont::Cursive:
      return FontFamily::Script;
    case QFont::Decorative:
      return FontFamily::Decorative;
    default:
      return fixedPitch ? FontFamily::Modern : FontFamily::Any;
  }
}

}  // namespace

QFont toQFont(const FontSetting& setting) {
  QFont font;  // the program's default font for whatever the setting leaves open
  if (!setting.faceName.empty()) font.setFamily(QString::fromStdString(setting.faceName));
  font.setStyleHint(styleHint(setting.pitchAndFamily));
  font.setFixedPitch((setting.pitchAndFamily & kPitchMask) == kFixedPitch);
  // Negative: the height of the characters; positive: of the character cell, a little more, which
  // a pixel size can only approximate. 0 leaves the size to the default.
  if (setting.height != 0) {
    const int64_t pixels = std::llabs(int64_t{setting.height});
    font.setPixelSize(static_cast<int>(std::min<int64_t>(pixels, kMaxPixelSize)));
  }
  // Stored weights and Qt's share one scale: 400 normal, 700 bold. 0 asks for no particular one.
  if (setting.weight > 0) {
    font.setWeight(static_cast<QFont::Weight>(std::min(setting.weight, 1000)));
  }
  font.setItalic(setting.italic != 0);
  font.setUnderline(setting.underline != 0);
  font.setStrikeOut(setting.strikeOut != 0);
  return font;
}

FontSetting toFontSetting(const QFont& font, const QColor& textColour, const FontSetting& base) {
  FontSetting setting = base;
  setting.textColour = toColour(textColour);
  const int pixels = font.pixelSize() > 0 ? font.pixelSize() : QFontInfo(font).pixelSize();
  setting.height = -pixels;
  setting.weight = font.weight();
  setting.italic = font.italic() ? 255 : 0;
  setting.underline = font.underline() ? 1 : 0;
  setting.strikeOut = font.strikeOut() ? 1 : 0;
  // Asked for, or what the face found turned out to be.
  const bool fixedPitch = font.fixedPitch() || QFontInfo(font).fixedPitch();
  setting.pitchAndFamily = static_cast<uint8_t>(fontFamily(font.styleHint(), fixedPitch)) |
                           (fixedPitch ? kFixedPitch : kVariablePitch);
  // The stored text ends the face at a comma, and keeps at most 32 characters of it.
  QString face = font.family().section(u',', 0, 0);
  face.truncate(static_cast<qsizetype>(FontSetting::kFaceNameLength));
  if (!face.isEmpty() && face.back().isHighSurrogate()) face.chop(1);
  setting.faceName = face.toStdString();
  return setting;
}

QColor toQColor(Colour colour) { return QColor(colour.red, colour.green, colour.blue); }

Colour toColour(const QColor& colour) {
  const QColor rgb = colour.toRgb();
  return {static_cast<uint8_t>(rgb.red()), static_cast<uint8_t>(rgb.green()),
          static_cast<uint8_t>(rgb.blue())};
}

}  // namespace qel
