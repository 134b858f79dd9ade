// Code page 1252 text (results, entries) as a QString, for painting and printing.
#pragma once

#include <QString>
#include <string_view>

namespace qel {

// One table look-up per character rather than a trip through UTF-8: lists convert a screenful of
// rows at every paint, printouts every result.
QString fromCp1252(std::string_view text);

}  // namespace qel
