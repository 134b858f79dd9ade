// The options the running program works with: read from the settings at start, applied to the
// main view and the lookups, and changed in the Options dialog, each change applied at once. The
// main window owns it; the printouts and the lookups read the options it keeps.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include "app/Options.h"

class QWidget;

namespace qel {

class LookupService;
class QELViewWindows;
class SettingsBackend;

class AppliedOptions : public QObject {
  Q_OBJECT

 public:
  // All of them outlive this. Relative paths of the definition dictionaries are taken from
  // `programFolder`; the Options dialog opens over `window`.
  AppliedOptions(SettingsBackend& settings, const QString& programFolder, QELViewWindows& view,
                 LookupService& lookup, QWidget& window);

  const Options& options() const { return m_options; }
  // The Options dialog: one at a time, modeless, disabled while a search runs.
  void showOptions();
  // Closes the Options dialog when it is open.
  void closeOptions();

 private:
  void applyOptions();

  SettingsBackend& m_settings;
  QString m_programFolder;
  QELViewWindows* m_view;
  LookupService* m_lookup;
  QWidget* m_window;
  Options m_options;
  QPointer<QWidget> m_optionsWindow;
};

}  // namespace qel
