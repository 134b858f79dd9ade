// The lookup method table: the first run's defaults and a saved table read back, the default
// method, the commands' targets and the setup dialog's rules.
#include <gtest/gtest.h>

#include "lookup/LookupMethodTable.h"
#include "support/MapSettings.h"

namespace qel {
namespace {

constexpr LookupMethodRef kGoogle{LookupKind::kWebSearch, 0};
constexpr LookupMethodRef kOneLook{LookupKind::kWebSearch, 1};
constexpr LookupMethodRef kWeb3{LookupKind::kWebSearch, 2};
constexpr LookupMethodRef kDde1{LookupKind::kDde, 0};
constexpr LookupMethodRef kMessage1{LookupKind::kWindowMessage, 0};
constexpr LookupMethodRef kExec1{LookupKind::kExecute, 0};

LookupMethodTable firstRunTable() {
  LookupMethodTable table;
  table.load(test::MapSettings());
  return table;
}

using Refs = std::vector<LookupMethodRef>;

TEST(LookupMethodTable, AFirstRunEnablesExactlyTheTwoWebSearches) {
  const LookupMethodTable table = firstRunTable();
  EXPECT_EQ(table.enabledMethods(), (Refs{kGoogle, kOneLook}));
  EXPECT_EQ(table.testWord(), "example");
  EXPECT_EQ(table.defaultLabel(), "&Google");
  EXPECT_EQ(table.method(kGoogle).label, "&Google");
  EXPECT_EQ(table.method(kGoogle).first, "https://www.google.com/search?q=%22{entry}%22");
  EXPECT_EQ(table.method(kOneLook).first.rfind("https://", 0), 0u);
  // The other applications are there to be enabled, not in the menus.
  EXPECT_EQ(table.method(kDde1), (LookupMethod{false, "&Chambers", "CompLex", "WinWord"}));
  EXPECT_EQ(table.method(kMessage1).second, "2026");
  EXPECT_FALSE(table.method(kMessage1).enabled);
  EXPECT_EQ(table.method(kExec1), (LookupMethod{false, "", "", "0"}));
}

TEST(LookupMethodTable, AFirstRunKeepsTheValuesThatAreStored) {
  test::MapSettings settings;
  settings.writeString("LookupWebSearchLabel1", "&Mine");
  settings.writeNumber("LookupWebSearchEnabled2", 0);
  settings.writeNumber("LookupDDEEnabled1", 1);
  LookupMethodTable table;
  table.load(settings);
  EXPECT_EQ(table.method(kGoogle).label, "&Mine");
  EXPECT_EQ(table.method(kGoogle).first, "https://www.google.com/search?q=%22{entry}%22");
  EXPECT_EQ(table.enabledMethods(), (Refs{kGoogle, kDde1}));
}

TEST(LookupMethodTable, ASavedTableReadsBackWithNoDefaultApplied) {
  LookupMethodTable table = firstRunTable();
  table.method(kOneLook) = LookupMethod{};  // emptied: must not come back as a default
  table.method(kDde1).enabled = true;
  table.method(kExec1) = {true, "&Hex", "/usr/bin/hex", "1"};
  table.setTestWord("tail-end");
  table.setDefaultLabel("&Hex");
  test::MapSettings settings;
  table.save(settings);
  // Every slot is written: web searches three values each, the other kinds four.
  EXPECT_EQ(settings.values.size(), 4u * 3 + 12u * 4 + 2);
  EXPECT_EQ(settings.values.at("LookupWebSearchLabel2"), test::MapSettings::Value(""));
  EXPECT_EQ(settings.values.at("ExecEncoding1"), test::MapSettings::Value("1"));

  LookupMethodTable readBack;
  readBack.load(settings);
  EXPECT_EQ(readBack, table);

  // Once saved, an absent value is empty and an absent flag off.
  settings.remove("LookupWebSearchScript1");
  settings.remove("LookupWebSearchEnabled1");
  settings.remove("LookupDefaultLabel");
  settings.remove("LookupDDELabel2");
  readBack.load(settings);
  EXPECT_EQ(readBack.method(kGoogle), (LookupMethod{false, "&Google", "", ""}));
  EXPECT_EQ(readBack.method({LookupKind::kDde, 1}).label, "");
  EXPECT_EQ(readBack.defaultLabel(), "");
}

TEST(LookupMethodTable, ResolvingTheDefaultNamesAnEnabledMethodOrNone) {
  LookupMethodTable table = firstRunTable();
  table.setDefaultLabel("&OneLook");
  table.resolveDefault();
  EXPECT_EQ(table.defaultLabel(), "&OneLook");
  table.method(kOneLook).enabled = false;
  table.resolveDefault();
  EXPECT_EQ(table.defaultLabel(), "&Google");
  table.method(kGoogle).enabled = false;
  table.resolveDefault();
  EXPECT_EQ(table.defaultLabel(), "");
}

TEST(LookupMethodTable, ExternalLookupWithADisabledDefaultTakesTheFirstEnabledMethod) {
  LookupMethodTable table = firstRunTable();
  table.setDefaultLabel("&OneLook");
  EXPECT_EQ(table.target(Command::kExternalLookup), kOneLook);
  table.method(kOneLook).enabled = false;
  table.method(kDde1).enabled = true;
  EXPECT_EQ(table.target(Command::kExternalLookup), kGoogle);
  EXPECT_EQ(table.defaultLabel(), "");
  table.resolveDefault();  // as the next menu does
  EXPECT_EQ(table.defaultLabel(), "&Google");

  table.method(kGoogle).enabled = false;
  table.method(kDde1).enabled = false;
  EXPECT_EQ(table.target(Command::kExternalLookup), std::nullopt);
}

TEST(LookupMethodTable, MethodCommandsCountEnabledMethodsOnly) {
  LookupMethodTable table = firstRunTable();
  table.method(kDde1).enabled = true;
  table.method(kExec1) = {true, "&Run", "/bin/true", "0"};
  EXPECT_EQ(table.target(externalLookupMethodCommand(0)), kGoogle);
  EXPECT_EQ(table.target(externalLookupMethodCommand(2)), kDde1);
  EXPECT_EQ(table.target(externalLookupMethodCommand(3)), kExec1);
  EXPECT_EQ(table.defaultLabel(), "&Google");

  // Disabling a method renumbers the ones after it.
  table.method(kOneLook).enabled = false;
  EXPECT_EQ(table.target(externalLookupMethodCommand(1)), kDde1);
  EXPECT_EQ(table.target(externalLookupMethodCommand(2)), kExec1);
  EXPECT_EQ(table.target(externalLookupMethodCommand(3)), std::nullopt);
  // Lookup itself, and any other command, names no method.
  EXPECT_EQ(table.target(Command::kLookup), std::nullopt);
  EXPECT_EQ(table.target(Command::kLookupInNewWindow), std::nullopt);
}

TEST(LookupMethodTable, AWebSearchWithoutAnAddressIsPassedOver) {
  LookupMethodTable table = firstRunTable();
  table.method(kGoogle).first.clear();
  EXPECT_EQ(table.target(Command::kExternalLookup), kOneLook);
  EXPECT_EQ(table.target(externalLookupMethodCommand(0)), std::nullopt);
  EXPECT_EQ(table.target(externalLookupMethodCommand(1)), kOneLook);
}

TEST(LookupMethodTable, NamingAMethodEnablesItAndTheDefaultFollowsItsLabel) {
  LookupMethodTable table = firstRunTable();
  table.setLabel(kWeb3, "&W");
  EXPECT_EQ(table.state(kWeb3), LookupMethodState::kEnabled);
  table.setLabel(kWeb3, "");
  EXPECT_EQ(table.state(kWeb3), LookupMethodState::kDisabled);
  // A disabled method keeps its state while it is renamed.
  table.setLabel(kDde1, "&Chambers 2");
  EXPECT_EQ(table.state(kDde1), LookupMethodState::kDisabled);

  table.setLabel(kGoogle, "&Goggle");
  EXPECT_EQ(table.defaultLabel(), "&Goggle");
  EXPECT_EQ(table.state(kGoogle), LookupMethodState::kDefault);
  table.setLabel(kOneLook, "&One");  // not the default
  EXPECT_EQ(table.defaultLabel(), "&Goggle");
}

}  // namespace
}  // namespace qel
