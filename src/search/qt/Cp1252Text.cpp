#include "search/qt/Cp1252Text.h"

#include <array>
#include <string>

#include "platform/Cp1252.h"

namespace qel {

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

}  // namespace qel
