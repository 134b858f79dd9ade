// Any bytes as a dictionary's ranks file: mapping it, looking words up in it and listing it must
// end cleanly, never crash or read out of bounds. The seed is a real ranks file.
#include <cstdint>
#include <cstdio>
#include <string>

#include "ScratchFiles.h"
#include "dictionary/CommonnessRanks.h"

namespace {

const std::string& dictionaryPath() {
  static const std::string path = qel::fuzz::scratchFile("ranks", ".qcd");
  return path;
}

}  // namespace

// Puts a real ranks file into the corpus folder (the first argument that is no option) as a seed.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  qel::CommonnessRanks ranks;
  for (const char* word : {"tail", "toll", "caf\xE9", "fly-by-night", "Zo\xEB"}) ranks.set(word, 20);
  ranks.set("tall", 95);
  for (int i = 1; i < *argc; ++i) {
    const std::string folder = (*argv)[i];
    if (folder.empty() || folder[0] == '-') continue;
    (void)ranks.save(folder + "/seed.qcr");
    break;
  }
  qel::fuzz::scratchFile("ranks", ".qcr");  // removed at exit with the rest
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = qel::CommonnessRanks::pathFor(dictionaryPath());
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return 0;
  std::fwrite(data, 1, size, file);
  std::fclose(file);
  qel::CommonnessRanks ranks;
  if (!ranks.loadFor(dictionaryPath()).ok()) return 0;
  uint32_t sum = 0;
  for (const char* word : {"tail", "toll", "tall", "", "x"}) sum += ranks.rankOf(word);
  for (const auto& [entry, rank] : ranks.all()) sum += rank + static_cast<uint32_t>(entry.size());
  return sum == 0xFFFFFFFFu ? -1 : 0;  // the result is used, so the lookups are made
}
