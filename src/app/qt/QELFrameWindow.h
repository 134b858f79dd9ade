// The main window around the main view: its caption, its status bar, its placement and the
// dictionaries it has open, kept in the settings between runs, and its menus. Taking results out,
// the lookups and the options in force are parts of their own that it owns and hands commands to.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/Commands.h"
#include "app/SettingsBackend.h"
#include "app/qt/AppliedOptions.h"
#include "app/qt/LookupCommands.h"
#include "app/qt/ResultsOutput.h"
#include "dictionary/QCDictionaryList.h"
#include "search/qt/QELViewWindows.h"

namespace qel {

class LookupService;
class QELPrintPreview;
class QELViewWindows;
class StatusText;

class QELFrameWindow : public QMainWindow {
  Q_OBJECT

 public:
  // `settings` outlives the window. `paths` are the dictionaries named on the command line; with
  // none, those open at the last exit (or the default dictionary beside the program).
  QELFrameWindow(SettingsBackend& settings, const QString& programFolder, const QStringList& paths,
                 QWidget* parent = nullptr);
  ~QELFrameWindow() override;

  QELViewWindows* view() const { return m_view; }
  const QCDictionaryList& dictionaries() const { return *m_dictionaries; }
  // Opens more dictionaries after those open (at most eight in all).
  void openDictionaries(const QStringList& paths);
  // Closes the active pane's dictionary; the pane before it becomes active when it was the last.
  void closeActiveDictionary();
  // Moves the active dictionary one place up or down the search order; its pane stays active.
  void promoteActiveDictionary();
  void demoteActiveDictionary();
  // Asks for dictionary files and opens them.
  void openWithDialog();
  // The properties of the active dictionary.
  void showDictionaryProperties();
  // Save Results, Print, Print Preview and Page Setup of the active pane's results.
  void saveResults() { m_output->saveResults(); }
  void printResults() { m_output->printResults(); }
  void printPreview() { m_output->printPreview(); }
  void pageSetup() { m_output->pageSetup(); }
  QELPrintPreview* printPreviewWindow() const { return m_output->printPreviewWindow(); }
  // The Quick Reference and Startup Tips windows (shown at start unless the settings say not).
  void showQuickReference();
  void showStartupTips();
  // Shows them as the settings ask, once the main window is shown.
  void showStartWindows();
  QWidget* quickReferenceWindow();  // made when first asked for
  QWidget* newStartupTipsWindow();  // one that shows the next tip
  // Moves windows that have no place of their own beside this one (see startWindowPlaces).
  void placeBeside(const std::vector<QWidget*>& windows);
  // The Options dialog, modeless: each change it makes applies at once.
  void showOptions() { m_appliedOptions->showOptions(); }

  // Lookup (or another lookup command) of the selected result or of the pattern.
  void lookupCommand(Command command) { m_lookupCommands->lookupCommand(command); }
  LookupService& lookup() const { return *m_lookup; }

  QAction* action(Command command) const;
  // The help topic F1 opens: the last menu opened, else the main view.
  int helpContext() const { return m_helpContext; }
  const std::vector<std::string>& recentDictionaries() const { return m_recent; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Brings the command states and the File menu's texts up to date, from the window's state
  // (whenever a menu opens, the search's state or the active pane changes).
  void updateCommands();
  void setDictionaries(std::vector<std::string> paths, int activePane = 0);
  // The dictionary at `path` opened on its own to check it, or null after the box that says why
  // it cannot be opened.
  std::unique_ptr<QCDictionaryList> checkedDictionary(const std::string& path);
  void moveActiveDictionary(int by);
  void rememberRecent(const std::string& path);
  void buildMenus();
  QAction* addCommand(QMenu* menu, Command command);
  void updateRecentFiles();
  void copyCommand(bool cut);
  void selectAllCommand();
  void askAboutRange();
  void cycleOwnedWindows(bool sendBack);
  void noteActivation(QWidget* window);
  void updateCaption();
  void storeAtExit();

  SettingsBackend& m_settings;
  QString m_programFolder;
  std::vector<std::string> m_paths;
  std::unique_ptr<QCDictionaryList> m_dictionaries;
  std::unique_ptr<LookupService> m_lookup;
  QELViewWindows* m_view = nullptr;
  std::unique_ptr<AppliedOptions> m_appliedOptions;
  std::unique_ptr<ResultsOutput> m_output;
  std::unique_ptr<LookupCommands> m_lookupCommands;
  StatusText* m_status = nullptr;
  QPointer<QWidget> m_quickReference;
  QPointer<QWidget> m_startupTips;
  bool m_closeAccepted = false;
  bool m_rangeAsked = false;
  std::map<Command, QAction*> m_actions;
  QMenu* m_fileMenu = nullptr;
  QAction* m_recentSeparator = nullptr;
  std::vector<QAction*> m_recentActions;
  std::vector<std::string> m_recent;  // previously used dictionaries, most recent first
  int m_helpContext = kMainViewHelpContext;
  std::vector<QPointer<QWidget>> m_activationOrder;  // the program's windows, latest first
};

}  // namespace qel
