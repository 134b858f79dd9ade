// The text forms in which colours, fonts and window positions are stored as settings, the rules for
// restoring a stored position on the screen, and how a stored path is made absolute.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qel {

struct Colour {
  uint8_t red = 0;
  uint8_t green = 0;
  uint8_t blue = 0;

  bool operator==(const Colour&) const = default;
};

// A stored font: its text colour and a logical-font record, field for field as they are stored.
struct FontSetting {
  static constexpr size_t kFaceNameLength = 32;  // characters

  Colour textColour;
  int32_t height = 0;  // negative: character height in pixels; positive: cell height
  int32_t width = 0;
  int32_t escapement = 0;
  int32_t orientation = 0;
  int32_t weight = 0;  // 0 for any, else 100 (thin) .. 400 (normal) .. 700 (bold) .. 900
  uint8_t italic = 0;  // non-zero: on
  uint8_t underline = 0;
  uint8_t strikeOut = 0;
  uint8_t charSet = 0;
  uint8_t outPrecision = 0;
  uint8_t clipPrecision = 0;
  uint8_t quality = 0;
  uint8_t pitchAndFamily = 0;  // pitch in the low two bits, family in bits 4 to 7
  std::string faceName;        // UTF-8, at most kFaceNameLength characters; empty: any face

  bool operator==(const FontSetting&) const = default;
};

// The family and pitch parts of FontSetting::pitchAndFamily.
inline constexpr uint8_t kFixedPitch = 1;
inline constexpr uint8_t kVariablePitch = 2;
enum class FontFamily : uint8_t {
  Any = 0x00,
  Roman = 0x10,   // proportional, with serifs
  Swiss = 0x20,   // proportional, without serifs
  Modern = 0x30,  // fixed width
  Script = 0x40,
  Decorative = 0x50,
};

// A window's rectangle in screen pixels.
struct Position {
  int32_t left = 0;
  int32_t top = 0;
  int32_t width = 0;
  int32_t height = 0;

  bool operator==(const Position&) const = default;
};

// The part of the desktop that windows may be placed on.
struct ScreenArea {
  int32_t left = 0;
  int32_t top = 0;
  int32_t width = 0;
  int32_t height = 0;
};

// The fields of a stored text: split at commas, empty fields skipped (",,1,,2," gives "1" and "2").
std::vector<std::string_view> settingFields(std::string_view text);
// A number field as it was always read: optional blanks and sign, then digits up to the first other
// character; no digits read 0; beyond the 32-bit range, the nearest end of it.
int32_t settingNumber(std::string_view field);

// "red,green,blue". Missing numbers read 0; each is held to 0..255.
Colour parseColour(std::string_view text);
std::string formatColour(Colour colour);

// "red,green,blue,height,width,escapement,orientation,weight,italic,underline,strikeOut,charSet,
// outPrecision,clipPrecision,quality,pitchAndFamily,face". Missing numbers read 0 and a missing
// face is empty; the face ends at the next comma.
FontSetting parseFont(std::string_view text);
std::string formatFont(const FontSetting& font);

// "flag,left,top,width,height": the flag is written as 0 and ignored when read.
Position parsePosition(std::string_view text);
std::string formatPosition(const Position& position);

// A dialog's stored position, if it can be used on this screen: it needs a positive width and
// height, must start left of the screen's right edge and above its bottom edge, and must end right
// of its left edge. A top above the screen moves down to it, so that the title bar can be reached.
std::optional<Position> restorablePosition(const Position& stored, const ScreenArea& screen);
// The main window's rectangle at start: the stored one when it has a positive size, starts left of
// the screen's right edge and above its bottom edge and ends right of its left edge; otherwise the
// screen's top-left corner, a third of the screen wide and 15/16 of it high.
Position mainWindowPlacement(const Position& stored, const ScreenArea& screen);
// Where definition window 1 or 2 opens until the user moves it: beside the main window's default
// place, half the screen wide, the second below the first.
Position defaultDefinitionPosition(int windowNumber, const ScreenArea& screen);

// A path read from a setting, made absolute: a path that does not start with "/" is taken from the
// program's folder. An empty path stays empty.
std::string resolveSettingPath(std::string_view path, std::string_view programFolder);
// The same for each path of a ";"-separated list text.
std::string resolveListText(std::string_view listText, std::string_view programFolder);

}  // namespace qel
