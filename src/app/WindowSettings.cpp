// The main window's and the program's own settings.
#include "app/WindowSettings.h"

#include "pattern/PatternLimits.h"

namespace qel {
namespace {

constexpr std::string_view kOpenDictionary = "OpenDictionary";
constexpr std::string_view kWindowX = "ViewWindowX";
constexpr std::string_view kWindowY = "ViewWindowY";
constexpr std::string_view kWindowW = "ViewWindowW";
constexpr std::string_view kWindowH = "ViewWindowH";
constexpr int32_t kLengthMin = pattern::kShortestWord;
constexpr int32_t kLengthMax = pattern::kLongestWord;

bool isLength(int32_t n) { return n >= kLengthMin && n <= kLengthMax; }

std::string recentFileName(std::string_view list, int i) {
  return i == 0 ? std::string(list) : dialogValueName(list, std::to_string(i));
}

}  // namespace

Position readMainWindowPosition(const SettingsBackend& settings) {
  return {readNumber(settings, kWindowX, 0), readNumber(settings, kWindowY, 0),
          readNumber(settings, kWindowW, 0), readNumber(settings, kWindowH, 0)};
}

void writeMainWindowPosition(SettingsBackend& settings, const Position& position) {
  settings.writeNumber(kWindowX, position.left);
  settings.writeNumber(kWindowY, position.top);
  settings.writeNumber(kWindowW, position.width);
  settings.writeNumber(kWindowH, position.height);
}

std::vector<std::string> readOpenDictionaries(const SettingsBackend& settings,
                                              std::string_view programFolder) {
  std::string first;
  if (!settings.readString(dialogValueName(kOpenDictionary, "0"), first)) {
    return {resolveSettingPath(kDefaultDictionary, programFolder)};
  }
  std::vector<std::string> paths = readStringList(settings, kOpenDictionary, kMaxOpenDictionaries);
  for (std::string& path : paths) path = resolveSettingPath(path, programFolder);
  return paths;
}

void writeOpenDictionaries(SettingsBackend& settings, const std::vector<std::string>& paths) {
  writeStringList(settings, kOpenDictionary, paths, kMaxOpenDictionaries);
}

int readPaneOrientation(const SettingsBackend& settings) {
  return readNumber(settings, "PaneOrientation", kPanesStacked) == kPanesSideBySide
             ? kPanesSideBySide
             : kPanesStacked;
}

void writePaneOrientation(SettingsBackend& settings, int orientation) {
  settings.writeNumber("PaneOrientation", orientation);
}

std::optional<std::string> readPanes(const SettingsBackend& settings, int paneCount) {
  std::string text;
  if (!settings.readString("Panes" + std::to_string(paneCount), text)) return std::nullopt;
  return text;
}

void writePanes(SettingsBackend& settings, int paneCount, std::string_view extents) {
  settings.writeString("Panes" + std::to_string(paneCount), extents);
}

RangeDefaults readRangeDefaults(const SettingsBackend& settings) {
  RangeDefaults range;
  const int32_t shortest = readNumber(settings, "RangeShortest", range.shortest);
  const int32_t longest = readNumber(settings, "RangeLongest", range.longest);
  if (isLength(shortest)) range.shortest = shortest;
  if (isLength(longest)) range.longest = longest;
  return range;
}

void writeRangeDefaults(SettingsBackend& settings, const RangeDefaults& range) {
  if (isLength(range.shortest)) settings.writeNumber("RangeShortest", range.shortest);
  if (isLength(range.longest)) settings.writeNumber("RangeLongest", range.longest);
}

bool readShowQuickReference(const SettingsBackend& settings) {
  return readNumber(settings, "QuickReference", 1) != 0;
}

void writeShowQuickReference(SettingsBackend& settings, bool show) {
  settings.writeNumber("QuickReference", show ? 1 : 0);
}

bool readShowStartupTips(const SettingsBackend& settings) {
  return readNumber(settings, "StartupTips", 1) != 0;
}

void writeShowStartupTips(SettingsBackend& settings, bool show) {
  settings.writeNumber("StartupTips", show ? 1 : 0);
}

PrintingMargins readPrintingMargins(const SettingsBackend& settings) {
  PrintingMargins m;
  const int32_t units = readNumber(settings, "PrintingMarginUnits", m.units);
  if (units != kThousandthsOfAnInch && units != kHundredthsOfAMillimetre) return m;
  m.units = units;
  m.left = readNumber(settings, "PrintingLeftMargin", m.left);
  m.top = readNumber(settings, "PrintingTopMargin", m.top);
  m.right = readNumber(settings, "PrintingRightMargin", m.right);
  m.bottom = readNumber(settings, "PrintingBottomMargin", m.bottom);
  return m;
}

void writePrintingMargins(SettingsBackend& settings, const PrintingMargins& margins) {
  settings.writeNumber("PrintingMarginUnits", margins.units);
  settings.writeNumber("PrintingLeftMargin", margins.left);
  settings.writeNumber("PrintingTopMargin", margins.top);
  settings.writeNumber("PrintingRightMargin", margins.right);
  settings.writeNumber("PrintingBottomMargin", margins.bottom);
}

std::vector<std::string> readRecentFiles(const SettingsBackend& settings, std::string_view list) {
  std::vector<std::string> files;
  for (int i = 0; i < kMaxRecentFiles; ++i) {
    std::string file;
    if (settings.readString(recentFileName(list, i), file) && !file.empty()) {
      files.push_back(std::move(file));
    }
  }
  return files;
}

void writeRecentFiles(SettingsBackend& settings, std::string_view list,
                      const std::vector<std::string>& files) {
  int slot = 0;
  for (const std::string& file : files) {
    if (file.empty()) continue;
    if (slot == kMaxRecentFiles) break;
    settings.writeString(recentFileName(list, slot++), file);
  }
  // Without this, names from an earlier, longer list would come back at the next start.
  for (; slot < kMaxRecentFiles; ++slot) settings.remove(recentFileName(list, slot));
}

}  // namespace qel
