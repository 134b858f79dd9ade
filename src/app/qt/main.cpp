// qel: the window program.
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTextStream>

#include "app/qt/QELFrameWindow.h"
#include "common/qt/ProgramCommandLine.h"
#include "common/qt/ProgramIcon.h"
#include "common/qt/SettingsStore.h"
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
  const QString folder = QString::fromStdString(qel::programFolder());
  qel::QELFrameWindow window(store, folder, dictionaries);
  if (qEnvironmentVariableIsSet("QEL_REPORT_START")) {
    // For the installation check: what the program found beside itself, then exit.
    QTextStream out(stdout);
    for (int i = 0; i < window.dictionaries().count(); ++i) {
      out << "dictionary " << QFile::decodeName(window.dictionaries().path(i).c_str())
          << (window.dictionaries().dictionary(i).valid() ? " valid" : " invalid") << "\n";
    }
    out << "tips " << (QFileInfo::exists(folder + "/Tips.txt") ? "found" : "missing") << "\n";
    window.updateCommands();
    const bool companions = window.action(qel::Command::kDictionaryBuilder)->isEnabled() &&
                            window.action(qel::Command::kWordListMerge)->isEnabled();
    out << "companions " << (companions ? "found" : "missing") << "\n";
    return 0;
  }
  window.show();
  window.showStartWindows();
  return app.exec();
}
