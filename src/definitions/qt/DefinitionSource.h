// What a definition window asks of the rest of the program: the definitions of a word, lookups,
// the main window's results, and the look of the text.
#pragma once

#include <QColor>
#include <QTextCharFormat>
#include <memory>
#include <string>
#include <vector>

#include "app/Commands.h"
#include "dictionary/Definition.h"
#include "dictionary/QCDictionaryList.h"

class QMenu;
class QWidget;

namespace qel {

class SettingsBackend;

// Definitions and the list of dictionaries their numbers refer to.
struct DefinitionsFound {
  std::shared_ptr<const QCDictionaryList> dictionaries;
  std::vector<Definition> definitions;
};

struct DefinitionLook {
  QTextCharFormat text;       // the whole text, under the formatting of rich text
  QTextCharFormat highlight;  // the words looked up or matched
  QColor background = Qt::white;
};

class DefinitionSource {
 public:
  virtual ~DefinitionSource() = default;

  // The stored definitions of a word over the dictionaries lookups use.
  virtual DefinitionsFound definitionsOf(const std::string& word) = 0;
  // A lookup of a word from a window's text: Lookup, Lookup in New Window or an external lookup
  // (by its command); `preferredPath` and `numberSuffix` say which definition to show first.
  virtual void lookup(QWidget* parent, Command command, const std::string& word,
                      const std::string& preferredPath, const std::string& numberSuffix) = 0;
  // Fills an External Lookup menu (its last two items, a separator and "&Setup...", stay).
  virtual void fillExternalLookupMenu(QMenu* menu, bool wordAvailable) = 0;
  // The "&Setup..." of that menu: the lookup methods dialog.
  virtual void showLookupSetup(QWidget* parent) = 0;
  // Whether the main window's results have a next (or previous) result, and the step to it,
  // which looks it up.
  virtual bool canStepResult(bool next) = 0;
  virtual void stepResult(bool next) = 0;
  virtual DefinitionLook look() = 0;
  virtual SettingsBackend& settings() = 0;
};

}  // namespace qel
