// qel: the window program.
#include <QApplication>
#include <QCommandLineParser>
#include <QSettings>

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
  qel::QELFrameWindow window(store, QString::fromStdString(qel::programFolder()),
                             parser.positionalArguments());
  window.show();
  return app.exec();
}
