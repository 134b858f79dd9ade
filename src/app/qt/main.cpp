// qel: the window program.
#include <QApplication>
#include <QSettings>

#include "app/qt/QELFrameWindow.h"
#include "common/qt/ProgramCommandLine.h"
#include "common/qt/ProgramIcon.h"
#include "common/qt/SettingsStore.h"
#include "common/qt/UserPrompts.h"
#include "dictionary/DecodedSection.h"
#include "platform/TemporaryFiles.h"

namespace {

const qel::ProgramDescription kQel = {"qel", "A word finder for crossword solvers and setters.",
                                      "[dictionary...]", "Dictionary files to open."};

}  // namespace

int main(int argc, char** argv) {
  if (qel::answersInformation(argc, argv, kQel)) return 0;
  QApplication app(argc, argv);
  QCoreApplication::setApplicationName("QEL");
  qel::setUpProgramIdentity("qel");
  qel::temporary_files::removeOnSignal();  // a save cut short by logging out leaves nothing
  const QStringList dictionaries = qel::fileArguments(kQel);
  // Sections decoded by one search serve the next ones from memory.
  qel::setDecodedSectionBudget(qel::kWindowDecodedSectionBudget);

  QSettings settings(qel::kSettingsOrganization, qel::kSettingsApplication);
  qel::SettingsStore store(settings);
  qel::UserPrompts::keepFileDialogSizeIn(&store);
  const QString folder = QString::fromStdString(qel::programFolder());
  qel::QELFrameWindow window(store, folder, dictionaries);
  window.show();
  window.showStartWindows();
  return app.exec();
}
