// The Lookup Methods dialog: names, turns on and off, and configures the external lookup methods,
// picks the default one, and tries them on a test word. It edits the live table: each change
// holds at once, until the program ends unless saved as defaults.
#pragma once

#include <QString>
#include <functional>
#include <string>
#include <vector>

#include "lookup/LookupMethodTable.h"
#include "properties/PropertiesDialog.h"

class QGroupBox;
class QGridLayout;

namespace qel {

class PVWEdit;
class PVWThreeStateBox;

class LookupPropertiesViewWindows : public PropertiesDialog {
  Q_OBJECT

 public:
  static constexpr char kDialogName[] = "Lookup";
  // Looks a word (UTF-8) up as External Lookup with the default method does. The word is one the
  // code page holds, or one the default method takes as it is (see takesAnyCharacter()).
  using TestLookup = std::function<void(QWidget* parent, const std::string& wordUtf8)>;

  LookupPropertiesViewWindows(LookupMethodTable& table, SettingsBackend& settings,
                              TestLookup testLookup, QWidget* parent = nullptr);

  // Shows the dialog modally, its Help opening the help window; true once it has closed. While
  // it shows, another open() brings it forward and is false at once.
  static bool open(QWidget* parent, LookupMethodTable& table, SettingsBackend& settings,
                   TestLookup testLookup);

 private:
  // The first `rows` slots of a kind; `prefix` starts its controls' names ("webBox1").
  QGroupBox* methodGroup(const QString& title, LookupKind kind, int rows, const char* prefix);
  void addNameColumns(QGridLayout* grid, LookupMethodRef ref, const QString& prefix);
  PVWEdit* parameterEdit(std::string* parameter, const QString& name);
  QWidget* browseButton(int slot);
  QWidget* encodingCombo(LookupMethod& method, int slot);
  void testLookup();
  void browse(int slot);
  // Every box from the table, for a change of the default or of what is enabled.
  void refreshBoxes();
  bool testWordUsable() const;
  void updateTestButton();

  LookupMethodTable& m_table;
  TestLookup m_testLookup;
  std::vector<PVWThreeStateBox*> m_boxes;
};

}  // namespace qel
