#include "platform/qt/CoreText.h"

#include <QFile>
#include <array>

#include "platform/Cp1252.h"

namespace qel {

// One table look-up per character rather than a trip through UTF-8: results lists convert a
// screenful of rows at every paint, printouts every result.
QString fromCp1252(std::string_view text) {
  static const std::array<char16_t, 256> kTable = [] {
    std::array<char16_t, 256> table{};
    for (int b = 0; b < 256; ++b) {
      const QString s =
          QString::fromStdString(cp1252::toUtf8(std::string(1, static_cast<char>(b))));
      table[b] = s.isEmpty() ? u'\uFFFD' : s.at(0).unicode();
    }
    return table;
  }();
  QString out(static_cast<qsizetype>(text.size()), Qt::Uninitialized);
  QChar* to = out.data();
  for (char c : text) *to++ = QChar(kTable[static_cast<uint8_t>(c)]);
  return out;
}

std::string toCp1252(const QString& text) {
  std::string out;
  out.reserve(text.size());
  for (QChar c : text) {
    char byte = '?';
    if (c.isSurrogate() || !cp1252::fromCodePoint(c.unicode(), byte)) byte = '?';
    out.push_back(byte);
  }
  return out;
}

std::string localPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

QString fromLocalPath(const std::string& path) { return QFile::decodeName(path.c_str()); }

}  // namespace qel
