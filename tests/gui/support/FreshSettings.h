// Settings of a test's own, in a folder that goes with it; the folder doubles as the program's.
#pragma once

#include <QSettings>
#include <QTemporaryDir>

#include "common/qt/SettingsStore.h"

namespace qel::test {

struct FreshSettings {
  QTemporaryDir folder;
  QSettings settings{folder.filePath("settings.ini"), QSettings::IniFormat};
  SettingsStore store{settings};
};

}  // namespace qel::test
