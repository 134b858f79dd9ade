// Any bytes as a dictionary file: opening and enumerating every length must end cleanly, never
// crash, read out of bounds or loop without end.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "ScratchFiles.h"
#include "dictionary/EntryEnumerator.h"
#include "dictionary/QCDictionaryList.h"

namespace {

const std::string& scratchPath() {
  static const std::string path = qel::fuzz::scratchFile("dictionary", ".qcd");
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string& path = scratchPath();
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return 0;
  std::fwrite(data, 1, size, f);
  std::fclose(f);

  qel::QCDictionaryList list(path);
  (void)list.propertiesText(0);
  if (!list.recheck(0)) return 0;
  qel::EntryEnumerator enumerator(list, 0);
  for (int length = 0; length <= list.slotCount(0); ++length) {
    if (!enumerator.selectLength(length)) continue;
    // The entry group, then the index group if there is one. Every item consumes at least one
    // bit of a bounded stream, so this ends.
    do {
      while (enumerator.next(nullptr)[0] != qel::kEndOfLetters) {
        (void)enumerator.annotation();
        (void)enumerator.referenceNumber();
      }
    } while (enumerator.groupState() == 1);
  }
  return 0;
}
