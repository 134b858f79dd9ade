// The core's text (code page 1252) as Qt's, and back.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace qel {

QString fromCp1252(std::string_view text);
// One byte for each UTF-16 unit of the text, so that positions stay the same; a character code
// page 1252 lacks becomes "?".
std::string toCp1252(const QString& text);

}  // namespace qel
