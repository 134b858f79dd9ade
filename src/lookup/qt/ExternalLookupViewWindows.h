// The External Lookup prompt: asks before a word is looked up outside the program, and leads to
// the Lookup Methods dialog when no method is enabled.
#pragma once

#include <QString>
#include <string>

#include "lookup/LookupMethodTable.h"
#include "lookup/qt/LookupPropertiesViewWindows.h"
#include "properties/PropertiesDialog.h"

class QLabel;

namespace qel {

class ExternalLookupViewWindows : public PropertiesDialog {
  Q_OBJECT

 public:
  static constexpr char kDialogName[] = "ExternalLookup";

  // `noDefinitions`: asked because the dictionaries hold no definition of the word. The word is
  // in code page 1252. `testLookup` is what the Lookup Methods dialog's "Test lookup" calls.
  ExternalLookupViewWindows(LookupMethodTable& table, SettingsBackend& settings,
                            const std::string& wordCp1252, bool noDefinitions,
                            LookupPropertiesViewWindows::TestLookup testLookup,
                            QWidget* parent = nullptr);

  // Shows the prompt modally: true when the user chose OK.
  static bool ask(QWidget* parent, LookupMethodTable& table, SettingsBackend& settings,
                  const std::string& wordCp1252, bool noDefinitions,
                  LookupPropertiesViewWindows::TestLookup testLookup);

  QString message() const;

 private:
  void openSetup();
  // The message and OK follow whether a method is enabled.
  void refresh();

  LookupMethodTable& m_table;
  std::string m_wordUtf8;
  bool m_noDefinitions;
  LookupPropertiesViewWindows::TestLookup m_testLookup;
  QLabel* m_message;
};

}  // namespace qel
