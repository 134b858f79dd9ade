// The base of the builder's and the merger's windows: one long job at a time (a build, a merge)
// with a progress bar, a log and a status line. The job takes turns of the event loop, so that the
// window stays live and shows its progress; Cancel during the job abandons it and leaves the window
// open for its log, and closes the window otherwise.
#pragma once

#include <QElapsedTimer>
#include <QString>
#include <functional>

#include "properties/PropertiesDialog.h"

class QLabel;
class QPlainTextEdit;
class QProgressBar;

namespace qel {

class MaintenanceJobDialog : public PropertiesDialog {
  Q_OBJECT

 public:
  bool running() const { return m_running; }
  QString logText() const;
  QString statusText() const;
  QProgressBar* progressBar() const { return m_progress; }

 protected:
  enum class Outcome { kDeclined, kDone, kFailed, kCancelled };

  // Makes the progress bar, the log and the status line (showing `firstStatus`) for the derived
  // window to place.
  MaintenanceJobDialog(std::string_view dialogName, int helpContext, const QString& firstStatus,
                       SettingsBackend& settings, QWidget* parent);

  // Asks before `outputPath` is replaced, then runs `job` with the log cleared, the controls
  // disabled and a busy cursor. Declined when the user would not have the file replaced.
  Outcome runJob(const QString& outputPath, const std::function<bool()>& job);
  // Shows `fraction` of the job done and lets the window run, at most once every 40 ms: false
  // once the user cancelled.
  bool takeTurn(double fraction);
  bool cancelled() const { return m_cancelled; }

  // Enables or disables the window's own controls; Close becomes Cancel while they are disabled.
  virtual void enableControls(bool enabled) = 0;
  void addToLog(const QString& text);

  // Cancel while a job runs stops it at its next turn; otherwise the window closes.
  void done(int result) override;

  QProgressBar* const m_progress;
  QPlainTextEdit* const m_log;
  QLabel* const m_status;

 private:
  void setControlsEnabled(bool enabled);

  bool m_running = false;
  bool m_cancelled = false;
  QElapsedTimer m_clock;  // since the window last ran
};

}  // namespace qel
