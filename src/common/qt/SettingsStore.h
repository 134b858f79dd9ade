// The program's settings kept by QSettings, and the folder that relative settings paths start from.
// Including this gives the whole settings store: fonts and colours as Qt's, and window positions.
#pragma once

#include <QString>
#include <string>
#include <string_view>

#include "app/SettingsBackend.h"
#include "common/qt/SettingsFonts.h"
#include "common/qt/WindowPosition.h"
#include "platform/Version.h"

class QSettings;

namespace qel {

// The program's own settings are QSettings(kSettingsOrganization, kSettingsApplication) in the
// native format; tests give the store a QSettings on a file of their own.
inline constexpr char kSettingsOrganization[] = "Pendrick Limited";
inline constexpr char kSettingsApplication[] = "QEL Devuduvodi " QEL_VERSION;

class SettingsStore : public SettingsBackend {
 public:
  explicit SettingsStore(QSettings& settings) : m_settings(settings) {}

  bool readString(std::string_view name, std::string& out) const override;
  bool readNumber(std::string_view name, int32_t& out) const override;
  void writeString(std::string_view name, std::string_view text) override;
  void writeNumber(std::string_view name, int32_t value) override;
  void remove(std::string_view name) override;

 private:
  QSettings& m_settings;
};

// The folder relative settings paths, "Dictionaries/" and "Tips.txt" are taken from: the
// executable's folder, or "../share/qel" beside it when the program is installed.
std::string programFolder();
std::string programFolderFor(const QString& executableFolder);

}  // namespace qel
