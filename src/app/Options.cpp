// The options table and the reading and writing of options through it.
#include "app/Options.h"

#include <algorithm>
#include <iterator>

#include "platform/Cp1252.h"

namespace qel {
namespace {

using O = Options;
using I = OptionId;
using K = OptionKind;

constexpr std::string_view kCourierNew = "0,0,0,-16,0,0,0,400,0,0,0,0,0,0,0,49,Courier New";

constexpr OptionInfo kOptions[] = {
    // Patterns
    {I::kExpansionAt, "ExpansionAt", K::PatternText, &O::expansionAt, "[aeiou]"},
    {I::kExpansionHash, "ExpansionHash", K::PatternText, &O::expansionHash, "[^aeiou]"},
    {I::kVariablesExclusive, "VariablesExclusive", K::Flag, &O::variablesExclusive, "", 1},
    // Results
    {I::kViewShowAnnotations, "ViewShowAnnotations", K::Flag, &O::viewShowAnnotations, "", 1},
    {I::kViewShowBalances, "ViewShowBalances", K::Flag, &O::viewShowBalances, "", 1},
    {I::kViewDoubleClick, "ViewDoubleClick", K::Number, &O::viewDoubleClick, "", 0, 0, 1},
    {I::kOutputLower, "OutputLower", K::Flag, &O::outputLower, "", 1},
    {I::kOutputUpper, "OutputUpper", K::Flag, &O::outputUpper, "", 1},
    {I::kOutputPunctuation, "OutputPunctuation", K::Flag, &O::outputPunctuation, "", 1},
    {I::kOutputWhitespace, "OutputWhitespace", K::Flag, &O::outputWhitespace, "", 1},
    {I::kViewMaxRank, "ViewMaxRank", K::Number, &O::viewMaxRank, "", 100, 1, 100},
    // Sorting
    {I::kViewSorting, "ViewSorting", K::Flag, &O::viewSorting, "", 0},
    {I::kViewSortingAscending, "ViewSortingAscending", K::Flag, &O::viewSortingAscending, "", 1},
    {I::kViewLengthGrouping, "ViewLengthGrouping", K::Flag, &O::viewLengthGrouping, "", 1},
    {I::kViewLengthGroupingAscending, "ViewLengthGroupingAscending", K::Flag,
     &O::viewLengthGroupingAscending, "", 1},
    {I::kViewCommonFirst, "ViewCommonFirst", K::Flag, &O::viewCommonFirst, "", 0},
    // Dictionaries
    {I::kViewMultipleDictionaries, "ViewMultipleDictionaries", K::Number,
     &O::viewMultipleDictionaries, "", 0, 0, 2},
    {I::kViewDefinitionDictionary, "ViewDefinitionDictionary", K::Text,
     &O::viewDefinitionDictionary, "Dictionaries/Devuduvodi.qcd"},
    // Appearance
    {I::kFontPattern, "FontPattern", K::Font, &O::fontPattern, kCourierNew},
    {I::kFontOutput, "FontOutput", K::Font, &O::fontOutput, kCourierNew},
    {I::kFontOutputAnnotation, "FontOutputAnnotation", K::Font, &O::fontOutputAnnotation,
     "0,0,0,-16,0,0,0,400,255,0,0,0,0,0,0,49,Courier New"},
    {I::kFontPrinting, "FontPrinting", K::Font, &O::fontPrinting,
     "0,0,0,-13,0,0,0,400,0,0,0,0,0,0,0,49,Courier New"},
    {I::kViewRareLighter, "ViewRareLighter", K::Flag, &O::viewRareLighter, "", 1},
    {I::kDefinitionBackgroundColor, "DefinitionBackgroundColor", K::Colour,
     &O::definitionBackgroundColor, "255,255,255"},
    {I::kDefinitionDefaultFont, "DefinitionDefaultFont", K::Font, &O::definitionDefaultFont,
     "0,0,0,-16,0,0,0,400,0,0,0,0,3,2,1,18,Times New Roman"},
    {I::kDefinitionHighlightFont, "DefinitionHighlightFont", K::Font, &O::definitionHighlightFont,
     "255,0,0,-16,0,0,0,400,255,0,0,0,3,2,1,18,Times New Roman"},
};

// Code finds a row by its id: each row stands at its id's place, under a stored name of its own.
constexpr bool rowsStandAtTheirIds() {
  if (std::size(kOptions) != static_cast<size_t>(OptionId::kCount)) return false;
  for (size_t i = 0; i < std::size(kOptions); ++i) {
    if (kOptions[i].id != static_cast<OptionId>(i)) return false;
    for (size_t j = 0; j < i; ++j) {
      if (kOptions[j].name == kOptions[i].name) return false;
    }
  }
  return true;
}
static_assert(rowsStandAtTheirIds(), "the options table and OptionId disagree");

template <typename T>
T& field(Options& options, const OptionInfo& info) {
  return options.*std::get<T Options::*>(info.field);
}
template <typename T>
const T& field(const Options& options, const OptionInfo& info) {
  return options.*std::get<T Options::*>(info.field);
}

void setDefault(Options& options, const OptionInfo& info) {
  switch (info.kind) {
    case K::PatternText:
    case K::Text:
      field<std::string>(options, info) = info.defaultText;
      break;
    case K::Flag:
      field<bool>(options, info) = info.defaultNumber != 0;
      break;
    case K::Number:
      field<int32_t>(options, info) = info.defaultNumber;
      break;
    case K::Colour:
      field<Colour>(options, info) = parseColour(info.defaultText);
      break;
    case K::Font:
      field<FontSetting>(options, info) = parseFont(info.defaultText);
      break;
  }
}

void readOption(const SettingsBackend& settings, Options& options, const OptionInfo& info) {
  std::string text;
  int32_t number = 0;
  switch (info.kind) {
    case K::PatternText:
      // A stored text that a pattern cannot hold keeps the default rather than a mangled copy.
      if (settings.readString(info.name, text)) {
        std::string converted;
        if (cp1252::fromUtf8(text, converted)) field<std::string>(options, info) = converted;
      }
      break;
    case K::Text:
      settings.readString(info.name, field<std::string>(options, info));
      break;
    case K::Flag:
      if (settings.readNumber(info.name, number)) field<bool>(options, info) = number != 0;
      break;
    case K::Number:
      if (settings.readNumber(info.name, number) && number >= info.minimum &&
          number <= info.maximum) {
        field<int32_t>(options, info) = number;
      }
      break;
    case K::Colour:
      readColour(settings, info.name, field<Colour>(options, info));
      break;
    case K::Font:
      field<FontSetting>(options, info) = readFont(settings, info.name, info.defaultText);
      break;
  }
}

void writeOption(SettingsBackend& settings, const Options& options, const OptionInfo& info) {
  switch (info.kind) {
    case K::PatternText:
      settings.writeString(info.name, cp1252::toUtf8(field<std::string>(options, info)));
      break;
    case K::Text:
      settings.writeString(info.name, field<std::string>(options, info));
      break;
    case K::Flag:
      settings.writeNumber(info.name, field<bool>(options, info) ? 1 : 0);
      break;
    case K::Number:
      settings.writeNumber(info.name, field<int32_t>(options, info));
      break;
    case K::Colour:
      writeColour(settings, info.name, field<Colour>(options, info));
      break;
    case K::Font:
      writeFont(settings, info.name, field<FontSetting>(options, info));
      break;
  }
}

}  // namespace

Options::Options() {
  for (const OptionInfo& info : kOptions) setDefault(*this, info);
}

std::span<const OptionInfo> optionTable() { return kOptions; }

const OptionInfo& optionInfo(OptionId id) { return kOptions[static_cast<size_t>(id)]; }

Options readOptions(const SettingsBackend& settings) {
  Options options;
  for (const OptionInfo& info : kOptions) readOption(settings, options, info);
  return options;
}

void writeOptions(SettingsBackend& settings, const Options& options,
                  std::span<const OptionId> ids) {
  for (OptionId id : ids) writeOption(settings, options, optionInfo(id));
}

void writeAllOptions(SettingsBackend& settings, const Options& options) {
  for (const OptionInfo& info : kOptions) writeOption(settings, options, info);
}

void keepResultsOrdered(Options& options, bool sortingChanged) {
  if (options.viewSorting || options.viewLengthGrouping) return;
  if (sortingChanged) {
    options.viewLengthGrouping = true;
  } else {
    options.viewSorting = true;
  }
}

void carryFontChanges(const FontSetting& before, const FontSetting& after, FontSetting& follower) {
  const auto carry = [](const auto& was, const auto& is, auto& following) {
    if (following == was) following = is;
  };
  carry(before.height, after.height, follower.height);
  carry(before.weight, after.weight, follower.weight);
  carry(before.italic, after.italic, follower.italic);
  carry(before.underline, after.underline, follower.underline);
  carry(before.strikeOut, after.strikeOut, follower.strikeOut);
  carry(before.charSet, after.charSet, follower.charSet);
  carry(before.faceName, after.faceName, follower.faceName);
}

}  // namespace qel
