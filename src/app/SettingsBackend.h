// Where named settings are kept (the per-user settings of the window program, or a map in tests),
// and the typed reads and writes that every part of the program uses on it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/SettingsFormat.h"

namespace qel {

// Texts are UTF-8. A failed write is not reported: a setting that cannot be stored must never stop
// the program, and the next start simply uses the default.
class SettingsBackend {
 public:
  virtual ~SettingsBackend() = default;

  // True, with `out` replaced, when the value exists with the right kind; false with `out`
  // unchanged otherwise.
  virtual bool readString(std::string_view name, std::string& out) const = 0;
  virtual bool readNumber(std::string_view name, int32_t& out) const = 0;
  virtual void writeString(std::string_view name, std::string_view text) = 0;
  virtual void writeNumber(std::string_view name, int32_t value) = 0;
  virtual void remove(std::string_view name) = 0;
};

// Typed values. A font is read from `defaultText` when it is absent; a colour stays as it was.
FontSetting readFont(const SettingsBackend& settings, std::string_view name,
                     std::string_view defaultText);
void writeFont(SettingsBackend& settings, std::string_view name, const FontSetting& font);
bool readColour(const SettingsBackend& settings, std::string_view name, Colour& out);
void writeColour(SettingsBackend& settings, std::string_view name, Colour colour);
std::string readString(const SettingsBackend& settings, std::string_view name,
                       std::string_view defaultText);
int32_t readNumber(const SettingsBackend& settings, std::string_view name, int32_t defaultValue);

// A window's stored "0,left,top,width,height" under the full value name (for a definition window,
// definitionWindowPositionName(n)); nothing when absent. Whether it fits the screen is
// restorablePosition()'s question.
std::optional<Position> readPosition(const SettingsBackend& settings, std::string_view name);
void writePosition(SettingsBackend& settings, std::string_view name, const Position& position);

// Values that belong to one dialog are named by the dialog's name followed by the value's:
// "Lookup" + "Position" is "LookupPosition".
std::string dialogValueName(std::string_view dialog, std::string_view value);
inline constexpr std::string_view kPositionValue = "Position";
std::string readDialogString(const SettingsBackend& settings, std::string_view dialog,
                             std::string_view name, std::string_view defaultText);
void writeDialogString(SettingsBackend& settings, std::string_view dialog, std::string_view name,
                       std::string_view text);
int32_t readDialogNumber(const SettingsBackend& settings, std::string_view dialog,
                         std::string_view name, int32_t defaultValue);
void writeDialogNumber(SettingsBackend& settings, std::string_view dialog, std::string_view name,
                       int32_t value);

// Definition windows keep their own numbered positions, named without a dialog:
// "Definition1Position".
std::string definitionWindowPositionName(int windowNumber);

// A list kept as prefix + 0, prefix + 1, ... ended by the first empty or absent value, at most
// `maxCount` entries ("OpenDictionary0".., the Options dialog's "QELViewDictionary0"..).
std::vector<std::string> readStringList(const SettingsBackend& settings, std::string_view prefix,
                                        int maxCount);
// Writes the non-empty entries (at most `maxCount`) and, when there is room, an empty one after
// them that ends the list.
void writeStringList(SettingsBackend& settings, std::string_view prefix,
                     const std::vector<std::string>& entries, int maxCount);

}  // namespace qel
