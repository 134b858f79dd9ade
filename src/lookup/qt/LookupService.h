// The program's one lookup operation, shared by the main window, the definition windows and the
// lookup methods dialog: a word's stored definitions in a definition window, or the word handed
// to an external lookup method. It owns the definition windows and the lookup methods.
#pragma once

#include <QObject>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/Options.h"
#include "definitions/qt/DefinitionSource.h"
#include "definitions/qt/DefinitionWindowList.h"
#include "lookup/LookupMethodTable.h"

namespace qel {

class LookupService : public QObject, public DefinitionSource {
  Q_OBJECT

 public:
  // `owner` (the main window) outlives the service; the lookup methods are read from `settings`.
  LookupService(SettingsBackend& settings, QWidget* owner);
  ~LookupService() override;

  // The dictionaries open in the main window (lookups read them first) and the options that
  // name the definition dictionaries and the look of definitions (given once the main window has
  // read its options, before any lookup). setOptions() is true when the look of definitions
  // changed.
  void setOpenDictionaries(std::vector<std::string> paths);
  bool setOptions(const Options& options, const std::string& programFolder);
  // Next Result and Previous Result of the definition windows, answered by the main window.
  void setResultStepper(std::function<bool(bool next)> canStep, std::function<void(bool)> step);
  // The main window's results or their selection changed: the definition windows' steps follow.
  void resultStepsChanged();

  // The lookup: for Lookup and Lookup in New Window the word's definitions, shown in the window
  // used last or a new one; with none found, or for any other command, the External Lookup prompt
  // where no method would do, then the external method of the command. A method that fails is
  // reported. `word` is in code page 1252.
  void lookup(QWidget* parent, Command command, const std::string& word,
              const std::string& preferredPath = {}, const std::string& numberSuffix = {}) override;
  // A full-text search's result: its own definition, with what the search matched highlighted.
  void showDefinition(bool newWindow, DefinitionsFound found, const std::string& word,
                      const FullTextMatch& match);

  LookupMethodTable& methods() { return m_methods; }
  DefinitionWindowList& windows() { return m_windows; }

  // The External Lookup prompt; true when the user chose OK. Tests answer it in advance.
  using Prompt = std::function<bool(QWidget* parent, const std::string& word, bool noDefinitions)>;
  void setPrompt(Prompt prompt) { m_prompt = std::move(prompt); }

  // DefinitionSource
  DefinitionsFound definitionsOf(const std::string& word) override;
  void fillExternalLookupMenu(QMenu* menu, bool wordAvailable) override;
  void showLookupSetup(QWidget* parent) override;
  bool canStepResult(bool next) override;
  void stepResult(bool next) override;
  DefinitionLook look() override { return m_look; }
  SettingsBackend& settings() override { return m_settings; }

 private:
  bool ask(QWidget* parent, const std::string& word, bool noDefinitions);
  // The Lookup Methods dialog's Test lookup, of a word in UTF-8.
  void testLookup(QWidget* parent, const std::string& wordUtf8);

  SettingsBackend& m_settings;
  QWidget* m_owner;
  LookupMethodTable m_methods;
  DefinitionWindowList m_windows{*this};
  std::vector<std::string> m_open;
  std::string m_definitionDictionaries;  // list text, paths absolute
  DefinitionLook m_look;
  std::function<bool(bool)> m_canStep;
  std::function<void(bool)> m_step;
  Prompt m_prompt;
};

}  // namespace qel
