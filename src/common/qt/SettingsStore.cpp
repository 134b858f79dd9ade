// Settings through QSettings: the registry on Windows, an INI file elsewhere.
#include "common/qt/SettingsStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStringList>

namespace qel {
namespace {

QString key(std::string_view name) {
  return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}

}  // namespace

bool SettingsStore::readString(std::string_view name, std::string& out) const {
  const QVariant value = m_settings.value(key(name));
  if (!value.isValid()) return false;
  // An INI file edited by hand may hold a font or a position without quotes, which QSettings
  // reads as a list split at the commas; the text is the same once joined again.
  if (value.typeId() == QMetaType::QStringList) {
    out = value.toStringList().join(u',').toStdString();
    return true;
  }
  if (!value.canConvert<QString>()) return false;
  out = value.toString().toStdString();
  return true;
}

bool SettingsStore::readNumber(std::string_view name, int32_t& out) const {
  const QVariant value = m_settings.value(key(name));
  if (!value.isValid()) return false;
  bool ok = false;
  const qlonglong number = value.toLongLong(&ok);
  // A 32-bit value written unsigned ("4294967295") is the same value as the signed one.
  if (!ok || number < INT32_MIN || number > UINT32_MAX) return false;
  out = static_cast<int32_t>(static_cast<uint32_t>(number));
  return true;
}

void SettingsStore::writeString(std::string_view name, std::string_view text) {
  m_settings.setValue(key(name),
                      QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

void SettingsStore::writeNumber(std::string_view name, int32_t value) {
  m_settings.setValue(key(name), value);
}

void SettingsStore::remove(std::string_view name) { m_settings.remove(key(name)); }

std::string programFolder() { return programFolderFor(QCoreApplication::applicationDirPath()); }

std::string programFolderFor(const QString& executableFolder) {
  const QString installed = QDir(executableFolder).filePath(QStringLiteral("../share/qel"));
  const QString folder =
      QFileInfo(installed).isDir() ? QDir::cleanPath(installed) : QDir::cleanPath(executableFolder);
  return QFile::encodeName(folder).toStdString();
}

}  // namespace qel
