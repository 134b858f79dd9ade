// The options: every value the Options dialog sets, with its stored name, kind and default, read
// together at start and written by name when the user saves them as defaults.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <variant>

#include "app/SettingsBackend.h"

namespace qel {

struct Options {
  Options();  // every option at its default

  std::string expansionAt;    // code page 1252, as patterns are
  std::string expansionHash;  // code page 1252
  bool variablesExclusive;
  bool viewShowAnnotations;
  bool viewShowBalances;
  int32_t viewDoubleClick;  // 0 Lookup, 1 External Lookup
  bool outputLower;
  bool outputUpper;
  bool outputPunctuation;
  bool outputWhitespace;
  bool viewSorting;
  bool viewSortingAscending;
  bool viewLengthGrouping;
  bool viewLengthGroupingAscending;
  // Commonness ranks, where a dictionary has them: the most common words first, words rarer than
  // a rank hidden (100: none hidden), rare words drawn lighter.
  bool viewCommonFirst;
  int32_t viewMaxRank;
  bool viewRareLighter;
  int32_t viewMultipleDictionaries;  // the values of MultipleDictionaries
  // The definition dictionaries' list text as stored (UTF-8): resolveListText() makes its paths
  // absolute.
  std::string viewDefinitionDictionary;
  FontSetting fontPattern;
  FontSetting fontOutput;
  FontSetting fontOutputAnnotation;
  FontSetting fontPrinting;
  Colour definitionBackgroundColor;
  FontSetting definitionDefaultFont;
  FontSetting definitionHighlightFont;

  bool operator==(const Options&) const = default;
};

// One per row of the options table, in its order, named as the row is stored. Code names an
// option by these rather than by its stored name, so that a misspelt name cannot compile.
enum class OptionId : uint8_t {
  kExpansionAt,
  kExpansionHash,
  kVariablesExclusive,
  kViewShowAnnotations,
  kViewShowBalances,
  kViewDoubleClick,
  kOutputLower,
  kOutputUpper,
  kOutputPunctuation,
  kOutputWhitespace,
  kViewMaxRank,
  kViewSorting,
  kViewSortingAscending,
  kViewLengthGrouping,
  kViewLengthGroupingAscending,
  kViewCommonFirst,
  kViewMultipleDictionaries,
  kViewDefinitionDictionary,
  kFontPattern,
  kFontOutput,
  kFontOutputAnnotation,
  kFontPrinting,
  kViewRareLighter,
  kDefinitionBackgroundColor,
  kDefinitionDefaultFont,
  kDefinitionHighlightFont,
  kCount
};

enum class OptionKind : uint8_t {
  PatternText,  // a string, held in code page 1252 and stored as UTF-8
  Text,         // a string, UTF-8 throughout
  Flag,         // a number, 0 or not
  Number,       // a number within a range; a stored value outside it reads as the default
  Colour,       // "red,green,blue"
  Font,         // a font text
};

// One value of the options. Its field in Options has the type the kind implies.
struct OptionInfo {
  using Field = std::variant<std::string Options::*, bool Options::*, int32_t Options::*,
                             Colour Options::*, FontSetting Options::*>;

  OptionId id;
  std::string_view name;
  OptionKind kind;
  Field field;
  std::string_view defaultText;  // PatternText, Text, Colour, Font
  int32_t defaultNumber = 0;     // Flag, Number
  int32_t minimum = 0;           // Number
  int32_t maximum = 0;
};

// Every option, in the order of the Options dialog's pages.
std::span<const OptionInfo> optionTable();
const OptionInfo& optionInfo(OptionId id);

// Reads every option; an absent or unusable value leaves its default.
Options readOptions(const SettingsBackend& settings);
// Writes these options only: the Options dialog saves one page at a time.
void writeOptions(SettingsBackend& settings, const Options& options, std::span<const OptionId> ids);
void writeAllOptions(SettingsBackend& settings, const Options& options);

// Results are always sorted or grouped by length: when the user turns off the one, the other comes
// back on. `sortingChanged` tells which one the user changed.
void keepResultsOrdered(Options& options, bool sortingChanged);

// A new results font carries each of its height, weight, italic, underline, strike-out, character
// set and face over to the annotation font wherever that had the old results font's value: what
// the annotations took over from the results they keep following, what was set apart stays.
void carryFontChanges(const FontSetting& before, const FontSetting& after, FontSetting& follower);

}  // namespace qel
