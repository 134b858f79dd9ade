// Typed settings over the backend's strings and numbers.
#include "app/SettingsBackend.h"

namespace qel {

FontSetting readFont(const SettingsBackend& settings, std::string_view name,
                     std::string_view defaultText) {
  return parseFont(readString(settings, name, defaultText));
}

void writeFont(SettingsBackend& settings, std::string_view name, const FontSetting& font) {
  settings.writeString(name, formatFont(font));
}

bool readColour(const SettingsBackend& settings, std::string_view name, Colour& out) {
  std::string text;
  if (!settings.readString(name, text)) return false;
  out = parseColour(text);
  return true;
}

void writeColour(SettingsBackend& settings, std::string_view name, Colour colour) {
  settings.writeString(name, formatColour(colour));
}

std::string readString(const SettingsBackend& settings, std::string_view name,
                       std::string_view defaultText) {
  std::string text(defaultText);
  settings.readString(name, text);
  return text;
}

int32_t readNumber(const SettingsBackend& settings, std::string_view name, int32_t defaultValue) {
  settings.readNumber(name, defaultValue);
  return defaultValue;
}

std::optional<Position> readPosition(const SettingsBackend& settings, std::string_view name) {
  std::string text;
  if (!settings.readString(name, text)) return std::nullopt;
  return parsePosition(text);
}

void writePosition(SettingsBackend& settings, std::string_view name, const Position& position) {
  settings.writeString(name, formatPosition(position));
}

std::string dialogValueName(std::string_view dialog, std::string_view value) {
  std::string name(dialog);
  name += value;
  return name;
}

std::string readDialogString(const SettingsBackend& settings, std::string_view dialog,
                             std::string_view name, std::string_view defaultText) {
  return readString(settings, dialogValueName(dialog, name), defaultText);
}

void writeDialogString(SettingsBackend& settings, std::string_view dialog, std::string_view name,
                       std::string_view text) {
  settings.writeString(dialogValueName(dialog, name), text);
}

int32_t readDialogNumber(const SettingsBackend& settings, std::string_view dialog,
                         std::string_view name, int32_t defaultValue) {
  return readNumber(settings, dialogValueName(dialog, name), defaultValue);
}

void writeDialogNumber(SettingsBackend& settings, std::string_view dialog, std::string_view name,
                       int32_t value) {
  settings.writeNumber(dialogValueName(dialog, name), value);
}

std::string definitionWindowPositionName(int windowNumber) {
  return "Definition" + std::to_string(windowNumber) + "Position";
}

std::vector<std::string> readStringList(const SettingsBackend& settings, std::string_view prefix,
                                        int maxCount) {
  std::vector<std::string> entries;
  for (int i = 0; i < maxCount; ++i) {
    std::string entry;
    if (!settings.readString(dialogValueName(prefix, std::to_string(i)), entry) || entry.empty()) {
      break;
    }
    entries.push_back(std::move(entry));
  }
  return entries;
}

void writeStringList(SettingsBackend& settings, std::string_view prefix,
                     const std::vector<std::string>& entries, int maxCount) {
  int written = 0;
  for (const std::string& entry : entries) {
    if (entry.empty()) continue;  // an empty entry would end the list early
    if (written == maxCount) return;
    settings.writeString(dialogValueName(prefix, std::to_string(written++)), entry);
  }
  if (written < maxCount)
    settings.writeString(dialogValueName(prefix, std::to_string(written)), "");
}

}  // namespace qel
