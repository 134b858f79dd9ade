// Stored colour, font and position texts read as they always were, however short or damaged; a
// stored position is used only where it can be seen; relative setting paths start from the program.
#include <gtest/gtest.h>

#include "app/SettingsFormat.h"

namespace qel {
namespace {

TEST(SettingsFormat, FieldsSplitAtCommasSkippingEmptyOnes) {
  using Fields = std::vector<std::string_view>;
  const std::pair<std::string_view, Fields> cases[] = {
      {"", {}},
      {",,,", {}},
      {"1,,2", {"1", "2"}},
      {",a,", {"a"}},
      {"Courier New, 9", {"Courier New", " 9"}},
  };
  for (const auto& [text, fields] : cases) EXPECT_EQ(settingFields(text), fields) << text;
}

TEST(SettingsFormat, NumbersReadLikeTheyAlwaysWere) {
  const std::pair<std::string_view, int32_t> cases[] = {
      {"12", 12},
      {" -16", -16},
      {"+5", 5},
      {"12px", 12},
      {"abc", 0},
      {"", 0},
      {"-", 0},
      {"2147483647", INT32_MAX},
      {"99999999999", INT32_MAX},
      {"-99999999999", INT32_MIN},
  };
  for (const auto& [field, number] : cases) EXPECT_EQ(settingNumber(field), number) << field;
}

TEST(SettingsFormat, PatternFontWithWeight700AndArialIsBoldBlackArial) {
  const FontSetting font = parseFont("0,0,0,-16,0,0,0,700,0,0,0,0,0,0,0,49,Arial");
  EXPECT_EQ(font.textColour, (Colour{0, 0, 0}));
  EXPECT_EQ(font.height, -16);
  EXPECT_EQ(font.weight, 700);
  EXPECT_EQ(font.italic, 0);
  EXPECT_EQ(font.pitchAndFamily, 49);
  EXPECT_EQ(font.faceName, "Arial");
}

TEST(SettingsFormat, ShortOrDamagedFontTextsStillGiveAWholeFont) {
  FontSetting red16;
  red16.textColour = {255, 0, 0};
  red16.height = -16;
  FontSetting italicTimes;
  italicTimes.italic = 255;
  italicTimes.faceName = "Times";
  FontSetting clamped;
  clamped.textColour = {255, 0, 128};
  clamped.italic = 255;
  clamped.faceName = "A";
  const std::pair<std::string_view, FontSetting> cases[] = {
      {"", FontSetting{}},
      {"255,0,0,-16", red16},      // the rest reads 0, no face
      {"255,,0,,0,,-16,", red16},  // empty fields are skipped
      {"0,0,0,0,0,0,0,0,255,0,0,0,0,0,0,0,Times", italicTimes},
      {"0,0,0,0,0,0,0,0,255,0,0,0,0,0,0,0,Times,Bold", italicTimes},  // the face ends at a comma
      {"300,-5,128,0,0,0,0,0,999,0,0,0,0,0,0,0,A", clamped},          // bytes held to 0..255
  };
  for (const auto& [text, font] : cases) EXPECT_EQ(parseFont(text), font) << text;
}

TEST(SettingsFormat, FaceNameKeepsAtMost32CharactersNeverHalfOfOne) {
  const std::string prefix = "0,0,0,-16,0,0,0,400,0,0,0,0,0,0,0,49,";
  EXPECT_EQ(parseFont(prefix + std::string(40, 'x')).faceName, std::string(32, 'x'));
  std::string accented;
  for (int i = 0; i < 40; ++i) accented += "\xC3\xA9";  // é
  EXPECT_EQ(parseFont(prefix + accented).faceName, accented.substr(0, 64));
}

TEST(SettingsFormat, FontsColoursAndPositionsFormatAsTheyAreRead) {
  const std::string_view fonts[] = {
      "0,0,0,-16,0,0,0,400,255,0,0,0,0,0,0,49,Courier New",
      "255,0,0,-16,0,0,0,400,255,0,0,0,3,2,1,18,Times New Roman",
      "1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,",
  };
  for (std::string_view text : fonts) EXPECT_EQ(formatFont(parseFont(text)), text);
  EXPECT_EQ(formatColour(parseColour("255,128,0")), "255,128,0");
  EXPECT_EQ(parseColour("300,-5"), (Colour{255, 0, 0}));
  EXPECT_EQ(formatPosition({10, -20, 300, 200}), "0,10,-20,300,200");
  EXPECT_EQ(parsePosition("7,10,-20,300,200"), (Position{10, -20, 300, 200}));  // flag ignored
  EXPECT_EQ(parsePosition("0,10"), (Position{10, 0, 0, 0}));
}

TEST(SettingsFormat, StoredPositionIsUsedOnlyWhereItCanBeSeen) {
  const ScreenArea screen{0, 0, 1024, 768};
  const std::pair<Position, std::optional<Position>> cases[] = {
      {{100, 50, 300, 200}, Position{100, 50, 300, 200}},
      {{5000, 50, 300, 200}, std::nullopt},  // right of a 1024-pixel-wide screen
      {{1024, 50, 300, 200}, std::nullopt},
      {{100, 768, 300, 200}, std::nullopt},
      {{100, 50, 0, 200}, std::nullopt},
      {{100, 50, 300, -1}, std::nullopt},
      {{100, -30, 300, 200}, Position{100, 0, 300, 200}},  // title bar brought back on screen
      {{-100, 50, 300, 200}, Position{-100, 50, 300, 200}},
      {{-5000, 50, 300, 200}, std::nullopt},  // wholly left of the screen
  };
  for (const auto& [stored, used] : cases) {
    EXPECT_EQ(restorablePosition(stored, screen), used) << formatPosition(stored);
  }
  EXPECT_EQ(restorablePosition({1100, 50, 300, 200}, {1024, 0, 1280, 1024}),
            (Position{1100, 50, 300, 200}));  // on a second screen
}

TEST(SettingsFormat, MainWindowOffTheScreenTakesAThirdOfItsWidth) {
  const ScreenArea screen{0, 0, 1024, 768};
  EXPECT_EQ(mainWindowPlacement({0, 0, 0, 0}, screen), (Position{0, 0, 341, 720}));
  EXPECT_EQ(mainWindowPlacement({2000, 10, 500, 500}, screen), (Position{0, 0, 341, 720}));
  EXPECT_EQ(mainWindowPlacement({10, -5, 500, 500}, screen), (Position{10, -5, 500, 500}));
}

TEST(SettingsFormat, TheFirstTwoDefinitionWindowsOpenBesideTheMainWindow) {
  const ScreenArea screen{0, 0, 1024, 768};
  const Position first = defaultDefinitionPosition(1, screen);
  const Position second = defaultDefinitionPosition(2, screen);
  EXPECT_EQ(first, (Position{341, 0, 512, 360}));
  EXPECT_EQ(second, (Position{341, 360, 512, 360}));
  EXPECT_GE(first.left, mainWindowPlacement({}, screen).width);
}

TEST(SettingsFormat, RelativeSettingPathsStartFromTheProgramFolder) {
  const std::pair<std::string_view, std::string> cases[] = {
      {"Dictionaries\\Devuduvodi.qcd", "/opt/qel/Dictionaries/Devuduvodi.qcd"},
      {"Dictionaries/Devuduvodi.qcd", "/opt/qel/Dictionaries/Devuduvodi.qcd"},
      {"../words.qcd", "/opt/words.qcd"},
      {"/home/ann/odd\\name.qcd", "/home/ann/odd\\name.qcd"},  // a backslash in a Linux name
      {"", ""},
  };
  for (const auto& [path, absolute] : cases) {
    EXPECT_EQ(resolveSettingPath(path, "/opt/qel"), absolute) << path;
    EXPECT_EQ(resolveSettingPath(path, "/opt/qel/"), absolute) << path;
  }
  EXPECT_EQ(resolveListText("a.qcd;/b/c.qcd;Dictionaries\\d.qcd", "/p"),
            "/p/a.qcd;/b/c.qcd;/p/Dictionaries/d.qcd");
}

}  // namespace
}  // namespace qel
