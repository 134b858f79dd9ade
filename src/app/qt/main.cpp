// qel: the window program.
#include <QAction>
#include <QApplication>
#include <QCommandLineParser>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTextStream>

#include "app/qt/ProgramIcon.h"
#include "app/qt/QELFrameWindow.h"
#include "app/qt/SettingsStore.h"
#include "dictionary/DecodedSection.h"
#include "platform/TemporaryFiles.h"

namespace {

void describe(QCommandLineParser& parser) {
  QCoreApplication::setApplicationName("QEL");
  QCoreApplication::setApplicationVersion("2.5");
  parser.setApplicationDescription("A word finder for crossword solvers and setters.");
  parser.addHelpOption();
  parser.addVersionOption();
  parser.addPositionalArgument("dictionary", "Dictionary files to open.", "[dictionary...]");
}

// --help and --version answer on the terminal, with or without a display.
bool asksForInformation(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const QByteArray arg(argv[i]);
    if (arg == "--") break;
    if (arg == "-h" || arg == "--help" || arg == "--help-all" || arg == "-v" || arg == "--version")
      return true;
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (asksForInformation(argc, argv)) {
    QCoreApplication core(argc, argv);
    QCommandLineParser parser;
    describe(parser);
    parser.process(core);  // prints and exits
    return 0;
  }
  QApplication app(argc, argv);
  qel::setUpProgramIdentity("qel");
  qel::temporary_files::removeOnSignal();  // a save cut short by logging out leaves nothing
  QCommandLineParser parser;
  describe(parser);
  parser.process(app);
  // Sections decoded by one search serve the next ones from memory.
  qel::setDecodedSectionBudget(qel::kWindowDecodedSectionBudget);

  QSettings settings(qel::kSettingsOrganization, qel::kSettingsApplication);
  qel::SettingsStore store(settings);
  const QString folder = QString::fromStdString(qel::programFolder());
  qel::QELFrameWindow window(store, folder, parser.positionalArguments());
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
