// The run, turns, progress and cancelling of a companion window's job.
#include "maintenance/qt/MaintenanceJobDialog.h"

#include <QApplication>
#include <QFileInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>

#include "common/qt/UserPrompts.h"

namespace qel {
namespace {

// Often enough for the window to feel live, seldom enough to cost the job nothing worth measuring.
constexpr qint64 kTurnMilliseconds = 40;

}  // namespace

MaintenanceJobDialog::MaintenanceJobDialog(std::string_view dialogName, int helpContext,
                                           const QString& firstStatus, SettingsBackend& settings,
                                           QWidget* parent)
    : PropertiesDialog(dialogName, helpContext, Buttons::kOkCancel, settings, parent),
      m_progress(new QProgressBar(this)),
      m_log(new QPlainTextEdit(this)),
      m_status(new QLabel(firstStatus, this)) {
  m_progress->setObjectName("progress");
  m_progress->setRange(0, 1000);
  m_progress->setValue(0);
  m_progress->setTextVisible(false);
  m_log->setObjectName("log");
  m_log->setReadOnly(true);
  m_log->setTabChangesFocus(true);
  m_status->setObjectName("status");
  m_status->setFrameShape(QFrame::StyledPanel);
  m_status->setTextInteractionFlags(Qt::TextSelectableByMouse);
}

QString MaintenanceJobDialog::logText() const { return m_log->toPlainText(); }
QString MaintenanceJobDialog::statusText() const { return m_status->text(); }

void MaintenanceJobDialog::addToLog(const QString& text) {
  m_log->appendPlainText(text);
  m_status->setText(text);
}

MaintenanceJobDialog::Outcome MaintenanceJobDialog::runJob(const QString& outputPath,
                                                           const std::function<bool()>& job) {
  if (m_running) return Outcome::kDeclined;
  // The old file would go to its ".bak"; still, the user is asked first, as every save asks.
  if (!outputPath.isEmpty() && !mayReplaceFile(this, QFileInfo(outputPath).absoluteFilePath()))
    return Outcome::kDeclined;
  m_log->clear();
  m_progress->setValue(0);
  m_running = true;
  m_cancelled = false;
  m_clock.invalidate();
  setControlsEnabled(false);
  QApplication::setOverrideCursor(Qt::BusyCursor);
  const bool done = job();
  QApplication::restoreOverrideCursor();
  m_running = false;
  setControlsEnabled(true);
  m_progress->setValue(done ? m_progress->maximum() : 0);
  if (done) return Outcome::kDone;
  return m_cancelled ? Outcome::kCancelled : Outcome::kFailed;
}

bool MaintenanceJobDialog::takeTurn(double fraction) {
  if (m_clock.isValid() && m_clock.elapsed() < kTurnMilliseconds) return !m_cancelled;
  m_clock.restart();
  m_progress->setValue(static_cast<int>(fraction * m_progress->maximum()));
  QApplication::processEvents();
  return !m_cancelled;
}

void MaintenanceJobDialog::setControlsEnabled(bool enabled) {
  enableControls(enabled);
  closeButton()->setText(enabled ? tr("&Close") : tr("&Cancel"));
}

void MaintenanceJobDialog::done(int result) {
  if (m_running) {
    // The job stops at its next turn; the window stays for its log.
    m_cancelled = true;
    return;
  }
  PropertiesDialog::done(result);
}

}  // namespace qel
