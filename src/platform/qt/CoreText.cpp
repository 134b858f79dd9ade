#include "platform/qt/CoreText.h"

#include "platform/Cp1252.h"

namespace qel {

QString fromCp1252(std::string_view text) { return QString::fromStdString(cp1252::toUtf8(text)); }

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

}  // namespace qel
