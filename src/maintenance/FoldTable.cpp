#include "maintenance/FoldTable.h"

#include "pattern/FoldedCompare.h"

namespace qel {

std::array<uint8_t, 256> lowerCaseFoldTable() {
  std::array<uint8_t, 256> table{};
  for (int c = 0; c < 256; ++c) {
    const uint8_t f = folded::fold(static_cast<uint8_t>(c));
    switch (f) {
      case 0:
        break;
      case 0x8C:  // Œ œ
        table[c] = 0x9C;
        break;
      case 0xC6:  // Æ æ
        table[c] = 0xE6;
        break;
      case 0xDE:  // Þ þ
        table[c] = 0xFE;
        break;
      case 0xDF:  // ß has no upper-case form in the code page
        table[c] = 0xDF;
        break;
      default:
        table[c] = static_cast<uint8_t>(f - 'A' + 'a');
    }
  }
  return table;
}

}  // namespace qel
