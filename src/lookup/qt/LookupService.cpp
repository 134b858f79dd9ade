#include "lookup/qt/LookupService.h"

#include "app/SettingsFormat.h"
#include "common/qt/SettingsFonts.h"
#include "definitions/qt/RichTextDocument.h"
#include "dictionary/DefinitionsOfWord.h"
#include "lookup/qt/ExternalLookupMenu.h"
#include "lookup/qt/ExternalLookupViewWindows.h"
#include "lookup/qt/LookupPerformer.h"
#include "lookup/qt/LookupPropertiesViewWindows.h"
#include "platform/Cp1252.h"

namespace qel {

LookupService::LookupService(SettingsBackend& settings, QWidget* owner)
    : m_settings(settings), m_owner(owner) {
  m_methods.load(settings);
}

LookupService::~LookupService() = default;

void LookupService::setOpenDictionaries(std::vector<std::string> paths) {
  m_open = std::move(paths);
}

bool LookupService::setOptions(const Options& options, const std::string& programFolder) {
  m_definitionDictionaries = resolveListText(options.viewDefinitionDictionary, programFolder);
  DefinitionLook look;
  look.text = charFormatOf(options.definitionDefaultFont);
  look.highlight = charFormatOf(options.definitionHighlightFont);
  look.background = toQColor(options.definitionBackgroundColor);
  const bool changed = look.text != m_look.text || look.highlight != m_look.highlight ||
                       look.background != m_look.background;
  m_look = look;
  return changed;
}

void LookupService::setResultStepper(std::function<bool(bool)> canStep,
                                     std::function<void(bool)> step) {
  m_canStep = std::move(canStep);
  m_step = std::move(step);
}

DefinitionsFound LookupService::definitionsOf(const std::string& word) {
  DefinitionsFound found;
  auto list =
      std::make_shared<QCDictionaryList>(lookupDictionaryPaths(m_open, m_definitionDictionaries));
  definitionsOfWord(*list, word, found.definitions);
  found.dictionaries = std::move(list);
  return found;
}

void LookupService::lookup(QWidget* parent, Command command, const std::string& word,
                           const std::string& preferredPath, const std::string& numberSuffix) {
  if (word.empty()) return;
  bool prompted = false;
  if (command == Command::kLookup || command == Command::kLookupInNewWindow) {
    DefinitionsFound found = definitionsOf(word);
    if (!found.definitions.empty()) {
      m_windows.window(command == Command::kLookupInNewWindow)
          ->show(std::move(found), word, preferredPath, numberSuffix);
      return;
    }
    if (!ask(parent, word, true)) return;
    prompted = true;
  } else if (m_methods.enabledCount() == 0) {
    if (!ask(parent, word, false)) return;
    prompted = true;
  }
  if (prompted) command = Command::kExternalLookup;
  if (!performLookup(m_methods, word, command, m_owner)) showLookupFailure(parent);
}

void LookupService::showDefinition(bool newWindow, DefinitionsFound found, const std::string& word,
                                   const FullTextMatch& match) {
  m_windows.window(newWindow)->show(std::move(found), word, {}, {}, &match);
}

bool LookupService::ask(QWidget* parent, const std::string& word, bool noDefinitions) {
  if (m_prompt) return m_prompt(parent, word, noDefinitions);
  return ExternalLookupViewWindows::ask(
      parent, m_methods, m_settings, word, noDefinitions,
      [this](QWidget* from, const std::string& testWord) { testLookup(from, testWord); });
}

void LookupService::testLookup(QWidget* parent, const std::string& wordUtf8) {
  std::string word;
  if (cp1252::fromUtf8(wordUtf8, word)) {
    lookup(parent, Command::kExternalLookup, word);
    return;
  }
  // A word beyond the code page: the dialog offers it only to a method that takes it as it is.
  if (!performLookupUtf8(m_methods, wordUtf8, Command::kExternalLookup, m_owner))
    showLookupFailure(parent);
}

void LookupService::fillExternalLookupMenu(QMenu* menu, bool wordAvailable) {
  buildExternalLookupMenu(menu, m_methods, wordAvailable);
}

void LookupService::showLookupSetup(QWidget* parent) {
  LookupPropertiesViewWindows::open(
      parent, m_methods, m_settings,
      [this](QWidget* from, const std::string& testWord) { testLookup(from, testWord); });
}

void LookupService::resultStepsChanged() { m_windows.updateResultSteps(); }

bool LookupService::canStepResult(bool next) { return m_canStep && m_canStep(next); }

void LookupService::stepResult(bool next) {
  if (m_step) m_step(next);
}

}  // namespace qel
