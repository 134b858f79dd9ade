// Web addresses and programs: the desktop's and the system's own ways of starting things.
#include "lookup/qt/LookupChannels.h"

#include <QDesktopServices>
#include <QProcess>
#include <QUrl>

namespace qel {

bool openAddress(const QString& encodedAddress) {
  // Tolerant: an address typed with blanks or accented letters in it is encoded, and "%" that
  // starts no escape stands for itself. Escapes of letters, digits and "-._~" come out as those
  // characters, which every server reads alike.
  QUrl url(encodedAddress, QUrl::TolerantMode);
  if (url.isEmpty() || !url.isValid()) return false;
  // "www.example.com/..." as a browser's address bar would take it; a bare path is a file.
  if (url.scheme().isEmpty()) {
    url = QUrl(
        encodedAddress.startsWith('/') ? "file://" + encodedAddress : "https://" + encodedAddress,
        QUrl::TolerantMode);
  }
  return url.isValid() && QDesktopServices::openUrl(url);
}

bool startProgram(const QString& program, const QString& argument) {
  // No shell sees the word: it reaches the program as one argument, whatever it holds.
  return !program.isEmpty() && QProcess::startDetached(program, {argument});
}

}  // namespace qel
