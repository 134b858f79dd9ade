// Copied beside an installed qel, reports what the main window finds there: its dictionaries, the
// tips and the companion programs, as check-install.sh reads them.
#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QSettings>
#include <QTextStream>

#include "app/Commands.h"
#include "app/qt/QELFrameWindow.h"
#include "common/qt/SettingsStore.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QCoreApplication::setApplicationName("QEL");
  QSettings settings(qel::kSettingsOrganization, qel::kSettingsApplication);
  qel::SettingsStore store(settings);
  const QString folder = QString::fromStdString(qel::programFolder());
  qel::QELFrameWindow window(store, folder, {});
  QTextStream out(stdout);
  for (int i = 0; i < window.dictionaries().count(); ++i) {
    out << "dictionary " << QFile::decodeName(window.dictionaries().path(i).c_str())
        << (window.dictionaries().dictionary(i).valid() ? " valid" : " invalid") << "\n";
  }
  out << "tips " << (QFileInfo::exists(folder + "/Tips.txt") ? "found" : "missing") << "\n";
  const bool companions = window.action(qel::Command::kDictionaryBuilder)->isEnabled() &&
                          window.action(qel::Command::kWordListMerge)->isEnabled();
  out << "companions " << (companions ? "found" : "missing") << "\n";
  return 0;
}
