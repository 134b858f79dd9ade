// The settings of the main window and of the program around it: placement, the dictionaries open
// at exit, the panes, the default lengths, the windows shown at start and the previously used
// files.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/SettingsBackend.h"
#include "pattern/PatternLimits.h"

namespace qel {

// "ViewWindowX", "ViewWindowY", "ViewWindowW", "ViewWindowH": absent values read 0, which
// mainWindowPlacement() turns into the default placement.
Position readMainWindowPosition(const SettingsBackend& settings);
void writeMainWindowPosition(SettingsBackend& settings, const Position& position);

// The dictionaries to open at start, made absolute from the program's folder: "OpenDictionary0" to
// "OpenDictionary7" up to the first empty or absent one. With no "OpenDictionary0" at all (the
// first start), the default dictionary beside the program; an empty one means none were open.
inline constexpr int kMaxOpenDictionaries = 8;
inline constexpr std::string_view kDefaultDictionary = "Dictionaries/Devuduvodi.qcd";
std::vector<std::string> readOpenDictionaries(const SettingsBackend& settings,
                                              std::string_view programFolder);
void writeOpenDictionaries(SettingsBackend& settings, const std::vector<std::string>& paths);

// "PaneOrientation": 0 stacked (the default), 1 side by side; any other stored value reads 0.
inline constexpr int kPanesStacked = 0;
inline constexpr int kPanesSideBySide = 1;
int readPaneOrientation(const SettingsBackend& settings);
void writePaneOrientation(SettingsBackend& settings, int orientation);

// "Panes" + N: the stored extents of N panes, a text the panes' layout reads ("400,100,300").
std::optional<std::string> readPanes(const SettingsBackend& settings, int paneCount);
void writePanes(SettingsBackend& settings, int paneCount, std::string_view extents);

// "RangeShortest" and "RangeLongest", the Shortest and Longest at start. A value
// outside 1..kLongestWord is neither used nor stored.
struct RangeDefaults {
  int32_t shortest = 1;
  int32_t longest = pattern::kLongestWord;

  bool operator==(const RangeDefaults&) const = default;
};
RangeDefaults readRangeDefaults(const SettingsBackend& settings);
void writeRangeDefaults(SettingsBackend& settings, const RangeDefaults& range);

// "QuickReference" and "StartupTips": whether the window is shown at start; absent means shown.
bool readShowQuickReference(const SettingsBackend& settings);
void writeShowQuickReference(SettingsBackend& settings, bool show);
bool readShowStartupTips(const SettingsBackend& settings);
void writeShowStartupTips(SettingsBackend& settings, bool show);

// "PrintingMarginUnits" (4: thousandths of an inch, 8: hundredths of a millimetre, as the page
// setup gives them) and "PrintingLeftMargin", "PrintingTopMargin", "PrintingRightMargin",
// "PrintingBottomMargin" in those units. Absent or with units of neither kind: one inch each.
inline constexpr int32_t kThousandthsOfAnInch = 4;
inline constexpr int32_t kHundredthsOfAMillimetre = 8;
struct PrintingMargins {
  int32_t units = kThousandthsOfAnInch;
  int32_t left = 1000;
  int32_t top = 1000;
  int32_t right = 1000;
  int32_t bottom = 1000;

  bool operator==(const PrintingMargins&) const = default;
};
PrintingMargins readPrintingMargins(const SettingsBackend& settings);
void writePrintingMargins(SettingsBackend& settings, const PrintingMargins& margins);

// Previously used files, most recent first: `list`, then `list` + "1" to `list` + "9".
inline constexpr std::string_view kRecentDictionaries = "FileDictionary";
inline constexpr std::string_view kRecentCrosswords = "FileCrossword";
inline constexpr int kMaxRecentFiles = 10;
std::vector<std::string> readRecentFiles(const SettingsBackend& settings, std::string_view list);
// Stores the non-empty names (at most 10) and removes the values a longer list left behind.
void writeRecentFiles(SettingsBackend& settings, std::string_view list,
                      const std::vector<std::string>& files);

}  // namespace qel
