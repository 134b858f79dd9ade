// The options table and the reading and writing of options through it.
#include "app/Options.h"

#include <algorithm>

#include "platform/Cp1252.h"

namespace qel {
namespace {

using O = Options;
using K = OptionKind;

constexpr std::string_view kCourierNew = "0,0,0,-16,0,0,0,400,0,0,0,0,0,0,0,49,Courier New";

const OptionInfo kOptions[] = {
    // Patterns
    {"ExpansionAt", K::PatternText, &O::expansionAt, "[aeiou]"},
    {"ExpansionHash", K::PatternText, &O::expansionHash, "[^aeiou]"},
    {"VariablesExclusive", K::Flag, &O::variablesExclusive, "", 1},
    // Results
    {"ViewShowAnnotations", K::Flag, &O::viewShowAnnotations, "", 1},
    {"ViewShowBalances", K::Flag, &O::viewShowBalances, "", 1},
    {"ViewDoubleClick", K::Number, &O::viewDoubleClick, "", 0, 0, 1},
    {"OutputLower", K::Flag, &O::outputLower, "", 1},
    {"OutputUpper", K::Flag, &O::outputUpper, "", 1},
    {"OutputPunctuation", K::Flag, &O::outputPunctuation, "", 1},
    {"OutputWhitespace", K::Flag, &O::outputWhitespace, "", 1},
    {"ViewMaxRank", K::Number, &O::viewMaxRank, "", 100, 1, 100},
    // Sorting
    {"ViewSorting", K::Flag, &O::viewSorting, "", 0},
    {"ViewSortingAscending", K::Flag, &O::viewSortingAscending, "", 1},
    {"ViewLengthGrouping", K::Flag, &O::viewLengthGrouping, "", 1},
    {"ViewLengthGroupingAscending", K::Flag, &O::viewLengthGroupingAscending, "", 1},
    {"ViewCommonFirst", K::Flag, &O::viewCommonFirst, "", 0},
    // Dictionaries
    {"ViewMultipleDictionaries", K::Number, &O::viewMultipleDictionaries, "", 0, 0, 2},
    {"ViewDefinitionDictionary", K::Text, &O::viewDefinitionDictionary,
     "Dictionaries/Devuduvodi.qcd"},
    // Appearance
    {"FontPattern", K::Font, &O::fontPattern, kCourierNew},
    {"FontOutput", K::Font, &O::fontOutput, kCourierNew},
    {"FontOutputAnnotation", K::Font, &O::fontOutputAnnotation,
     "0,0,0,-16,0,0,0,400,255,0,0,0,0,0,0,49,Courier New"},
    {"FontPrinting", K::Font, &O::fontPrinting, "0,0,0,-13,0,0,0,400,0,0,0,0,0,0,0,49,Courier New"},
    {"ViewRareLighter", K::Flag, &O::viewRareLighter, "", 1},
    {"DefinitionBackgroundColor", K::Colour, &O::definitionBackgroundColor, "255,255,255"},
    {"DefinitionDefaultFont", K::Font, &O::definitionDefaultFont,
     "0,0,0,-16,0,0,0,400,0,0,0,0,3,2,1,18,Times New Roman"},
    {"DefinitionHighlightFont", K::Font, &O::definitionHighlightFont,
     "255,0,0,-16,0,0,0,400,255,0,0,0,3,2,1,18,Times New Roman"},
};

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

const OptionInfo* findOption(std::string_view name) {
  for (const OptionInfo& info : kOptions) {
    if (info.name == name) return &info;
  }
  return nullptr;
}

Options readOptions(const SettingsBackend& settings) {
  Options options;
  for (const OptionInfo& info : kOptions) readOption(settings, options, info);
  return options;
}

void writeOptions(SettingsBackend& settings, const Options& options,
                  std::span<const std::string_view> names) {
  for (std::string_view name : names) {
    if (const OptionInfo* info = findOption(name)) writeOption(settings, options, *info);
  }
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
