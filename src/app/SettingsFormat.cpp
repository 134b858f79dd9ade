// Stored colours, fonts and positions, and the paths that settings hold.
#include "app/SettingsFormat.h"

#include <algorithm>
#include <filesystem>

namespace qel {
namespace {

// Reads the fields of a stored text one after another; a field that is not there reads as 0 or as
// an empty text, so that a short or damaged value still gives a whole record.
class FieldReader {
 public:
  explicit FieldReader(std::string_view text) : m_fields(settingFields(text)) {}

  std::string_view text() { return m_next < m_fields.size() ? m_fields[m_next++] : ""; }
  int32_t number() { return settingNumber(text()); }
  uint8_t byte() { return static_cast<uint8_t>(std::clamp<int32_t>(number(), 0, 255)); }

 private:
  std::vector<std::string_view> m_fields;
  size_t m_next = 0;
};

// The first `count` characters of UTF-8 text, never cutting a character in two.
std::string_view firstCharacters(std::string_view text, size_t count) {
  size_t characters = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const bool startsCharacter = (static_cast<uint8_t>(text[i]) & 0xC0) != 0x80;
    if (startsCharacter && characters++ == count) return text.substr(0, i);
  }
  return text;
}

bool fitsOnScreen(const Position& p, const ScreenArea& screen) {
  return p.width > 0 && p.height > 0 && p.left < screen.left + screen.width &&
         p.top < screen.top + screen.height && int64_t{p.left} + p.width > screen.left;
}

}  // namespace

std::vector<std::string_view> settingFields(std::string_view text) {
  std::vector<std::string_view> fields;
  size_t start = 0;
  while (start <= text.size()) {
    const size_t end = std::min(text.find(',', start), text.size());
    if (end > start) fields.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return fields;
}

int32_t settingNumber(std::string_view field) {
  size_t i = 0;
  while (i < field.size() && (field[i] == ' ' || (field[i] >= '\t' && field[i] <= '\r'))) ++i;
  bool negative = false;
  if (i < field.size() && (field[i] == '-' || field[i] == '+')) negative = field[i++] == '-';
  int64_t value = 0;
  for (; i < field.size() && field[i] >= '0' && field[i] <= '9'; ++i) {
    value = std::min<int64_t>(value * 10 + (field[i] - '0'), int64_t{INT32_MAX} + 1);
  }
  if (negative) value = -value;
  return static_cast<int32_t>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}

Colour parseColour(std::string_view text) {
  FieldReader fields(text);
  Colour colour;
  colour.red = fields.byte();
  colour.green = fields.byte();
  colour.blue = fields.byte();
  return colour;
}

std::string formatColour(Colour colour) {
  return std::to_string(colour.red) + ',' + std::to_string(colour.green) + ',' +
         std::to_string(colour.blue);
}

FontSetting parseFont(std::string_view text) {
  FieldReader fields(text);
  FontSetting font;
  font.textColour.red = fields.byte();
  font.textColour.green = fields.byte();
  font.textColour.blue = fields.byte();
  for (int32_t* n :
       {&font.height, &font.width, &font.escapement, &font.orientation, &font.weight}) {
    *n = fields.number();
  }
  for (uint8_t* b :
       {&font.italic, &font.underline, &font.strikeOut, &font.charSet, &font.outPrecision,
        &font.clipPrecision, &font.quality, &font.pitchAndFamily}) {
    *b = fields.byte();
  }
  font.faceName = firstCharacters(fields.text(), FontSetting::kFaceNameLength);
  return font;
}

std::string formatFont(const FontSetting& font) {
  std::string text = formatColour(font.textColour);
  for (int32_t n : {font.height, font.width, font.escapement, font.orientation, font.weight}) {
    text += ',' + std::to_string(n);
  }
  for (uint8_t b : {font.italic, font.underline, font.strikeOut, font.charSet, font.outPrecision,
                    font.clipPrecision, font.quality, font.pitchAndFamily}) {
    text += ',' + std::to_string(b);
  }
  return text + ',' + font.faceName;
}

Position parsePosition(std::string_view text) {
  FieldReader fields(text);
  fields.number();  // the flag, always written as 0
  Position position;
  position.left = fields.number();
  position.top = fields.number();
  position.width = fields.number();
  position.height = fields.number();
  return position;
}

std::string formatPosition(const Position& p) {
  return "0," + std::to_string(p.left) + ',' + std::to_string(p.top) + ',' +
         std::to_string(p.width) + ',' + std::to_string(p.height);
}

std::optional<Position> restorablePosition(const Position& stored, const ScreenArea& screen) {
  if (!fitsOnScreen(stored, screen)) return std::nullopt;
  Position position = stored;
  position.top = std::max(position.top, screen.top);
  return position;
}

Position mainWindowPlacement(const Position& stored, const ScreenArea& screen) {
  if (fitsOnScreen(stored, screen)) return stored;
  return {screen.left, screen.top, screen.width / 3,
          static_cast<int32_t>(screen.height * 15LL / 16)};
}

Position defaultDefinitionPosition(int windowNumber, const ScreenArea& screen) {
  const int32_t height = static_cast<int32_t>(screen.height * 15LL / 32);
  return {screen.left + screen.width / 3, screen.top + (windowNumber == 2 ? height : 0),
          screen.width / 2, height};
}

std::string resolveSettingPath(std::string_view path, std::string_view programFolder) {
  if (path.empty() || path.front() == '/') return std::string(path);
  // Settings carried over from Windows hold relative paths such as "Dictionaries\Devuduvodi.qcd";
  // a relative path is ours to interpret, so its backslashes are taken as folder separators. An
  // absolute path keeps them: on Linux a backslash may be part of a file name.
  std::string relative(path);
  std::replace(relative.begin(), relative.end(), '\\', '/');
  return (std::filesystem::path(programFolder) / relative).lexically_normal().string();
}

std::string resolveListText(std::string_view listText, std::string_view programFolder) {
  std::string resolved;
  size_t start = 0;
  for (;;) {
    const size_t end = listText.find(';', start);
    resolved += resolveSettingPath(listText.substr(start, end - start), programFolder);
    if (end == std::string_view::npos) return resolved;
    resolved += ';';
    start = end + 1;
  }
}

}  // namespace qel
