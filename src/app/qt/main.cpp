// qel: the window program.
#include <QApplication>
#include <QCommandLineParser>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTextStream>

#include "app/qt/QELFrameWindow.h"
#include "app/qt/SettingsStore.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("QEL");
  QApplication::setApplicationVersion("2.5");
  QCommandLineParser parser;
  parser.setApplicationDescription("A word finder for crossword solvers and setters.");
  parser.addHelpOption();
  parser.addVersionOption();
  parser.addPositionalArgument("dictionary", "Dictionary files to open.", "[dictionary...]");
  parser.process(app);

  QSettings settings("Pendrick Limited", "QEL Devuduvodi 2.5");
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
    return 0;
  }
  window.show();
  return app.exec();
}
