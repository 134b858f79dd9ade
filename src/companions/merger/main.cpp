// The word-list merge program: merges word lists and dictionaries, in a window of its
// own, beside the window program and sharing its settings.
#include <QApplication>
#include <QSettings>

#include "common/qt/HelpWindow.h"
#include "common/qt/ProgramCommandLine.h"
#include "common/qt/ProgramIcon.h"
#include "common/qt/SettingsStore.h"
#include "common/qt/UserPrompts.h"
#include "maintenance/qt/QCWordListMergeWindow.h"
#include "platform/TemporaryFiles.h"
#include "platform/Version.h"

namespace {

const qel::ProgramDescription kMerger = {
    "RAVAZAV", "Merges word lists and dictionaries into a source text or a dictionary.",
    "[input...]", "Word lists and dictionaries to merge."};

}  // namespace

int main(int argc, char** argv) {
  if (qel::answersInformation(argc, argv, kMerger)) return 0;
  QApplication app(argc, argv);
  qel::setUpProgramIdentity("qel");
  qel::temporary_files::removeOnSignal();  // a save cut short by logging out leaves nothing
  QCoreApplication::setApplicationName("QEL Word List Merge");
  QCoreApplication::setApplicationVersion(qel::kVersion);
  QSettings settings(qel::kSettingsOrganization, qel::kSettingsApplication);
  qel::SettingsStore store(settings);
  qel::UserPrompts::keepFileDialogSizeIn(&store);
  const QStringList inputs = qel::fileArguments(kMerger);
  qel::QCWordListMergeWindow window(store);
  if (!inputs.isEmpty()) window.setInputs(inputs);
  QObject::connect(&window, &qel::PropertiesDialog::helpRequested, &window,
                   [&window](int context) { qel::showHelp(context, &window); });
  window.show();
  return app.exec();
}
