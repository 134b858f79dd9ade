// The dictionary builder program: makes dictionary files from text sources, in a window of its
// own, beside the window program and sharing its settings.
#include <QApplication>
#include <QLineEdit>
#include <QSettings>
#include <QTextStream>

#include "common/qt/HelpWindow.h"
#include "common/qt/ProgramCommandLine.h"
#include "common/qt/ProgramIcon.h"
#include "common/qt/SettingsStore.h"
#include "common/qt/UserPrompts.h"
#include "maintenance/qt/QCDictionaryBuilderWindow.h"
#include "platform/TemporaryFiles.h"
#include "platform/Version.h"

namespace {

const qel::ProgramDescription kBuilder = {
    "RIDOZAD", "Builds a dictionary from a text source, one entry per line.",
    "[source [dictionary.qcd]]", "The text source, and the dictionary to write."};

}  // namespace

int main(int argc, char** argv) {
  if (qel::answersInformation(argc, argv, kBuilder)) return 0;
  QApplication app(argc, argv);
  qel::setUpProgramIdentity("qel");
  qel::temporary_files::removeOnSignal();  // a save cut short by logging out leaves nothing
  QCoreApplication::setApplicationName("QEL Dictionary Builder");
  QCoreApplication::setApplicationVersion(qel::kVersion);
  QSettings settings(qel::kSettingsOrganization, qel::kSettingsApplication);
  qel::SettingsStore store(settings);
  qel::UserPrompts::keepFileDialogSizeIn(&store);
  const QStringList files = qel::fileArguments(kBuilder);
  if (files.size() > 2) {
    QTextStream(stderr) << "RIDOZAD: give at most a source and a dictionary, not " << files.size()
                        << " files\n";
    return 2;
  }
  qel::QCDictionaryBuilderWindow window(store);
  if (files.size() > 0) window.sourceEdit()->setText(files[0]);
  if (files.size() > 1) window.outputEdit()->setText(files[1]);
  QObject::connect(&window, &qel::PropertiesDialog::helpRequested, &window,
                   [&window](int context) { qel::showHelp(context, &window); });
  window.show();
  return app.exec();
}
