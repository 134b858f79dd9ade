// The core's text (code page 1252) and file names (the file system's bytes) as Qt's, and back:
// the one home of these conversions.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace qel {

QString fromCp1252(std::string_view text);
// One byte for each UTF-16 unit of the text, so that positions stay the same; a character code
// page 1252 lacks becomes "?".
std::string toCp1252(const QString& text);

// A file name as the file system takes it, and back.
std::string localPath(const QString& path);
QString fromLocalPath(const std::string& path);

}  // namespace qel
