// The order in which definition headings are listed and matched against a looked-up word: by
// letters and digits alone, with runs of digits compared as numbers ("bank2" before "bank10").
#pragma once

#include <string_view>

namespace qel {

// Negative, 0 or positive. Letters compare by their folded values (case and accents do not
// count), characters that are neither letters nor digits are skipped, and a number at either side
// is compared with the number at the other (none there counts as 0). `matchLength`, when given,
// receives the count of letters and digits that matched before the first difference. Texts are
// code page 1252.
int naturalCompare(std::string_view a, std::string_view b, int* matchLength = nullptr);

}  // namespace qel
