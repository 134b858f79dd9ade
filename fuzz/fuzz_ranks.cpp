// Any bytes as a dictionary's ranks file: mapping it, looking words up in it and listing it must
// end cleanly, never crash, read out of bounds or take long. A ranks file names the dictionary it
// belongs to; the target writes that name into inputs of the current version, so that mutations
// reach the table behind it. The seeds are a real ranks file and a table with every slot taken and
// no entry where a lookup starts.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "ScratchFiles.h"
#include "dictionary/CommonnessRanks.h"
#include "dictionary/DictionaryFingerprint.h"

namespace {

const std::string& dictionaryPath() {
  static const std::string path = [] {
    const std::string made = qel::fuzz::scratchFile("ranks", ".qcd");
    if (std::FILE* file = std::fopen(made.c_str(), "wb")) {
      std::fputs("QCD1 stands for a dictionary here: only its fingerprint is read", file);
      std::fclose(file);
    }
    return made;
  }();
  return path;
}

void putU32(std::vector<uint8_t>& bytes, size_t at, uint32_t v) {
  for (int k = 0; k < 4; ++k) bytes[at + k] = static_cast<uint8_t>(v >> (8 * k));
}

// The dictionary's fingerprint where a current ranks file keeps it.
void nameTheDictionary(std::vector<uint8_t>& bytes) {
  qel::DictionaryFingerprint tie;
  if (bytes.size() < 32 || std::memcmp(bytes.data(), "QCR2", 4) != 0 ||
      !qel::fingerprintOf(dictionaryPath(), tie))
    return;
  for (int k = 0; k < 8; ++k) {
    bytes[16 + k] = static_cast<uint8_t>(tie.size >> (8 * k));
    bytes[24 + k] = static_cast<uint8_t>(tie.headChecksum >> (8 * k));
  }
}

void writeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  if (std::FILE* file = std::fopen(path.c_str(), "wb")) {
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
  }
}

}  // namespace

// Puts the seeds into the corpus folder (the first argument that is no option).
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  qel::CommonnessRanks ranks;
  for (const char* word : {"tail", "toll", "caf\xE9", "fly-by-night", "Zo\xEB"})
    ranks.set(word, 20);
  ranks.set("tall", 95);
  for (int i = 1; i < *argc; ++i) {
    const std::string folder = (*argv)[i];
    if (folder.empty() || folder[0] == '-') continue;
    if (ranks.saveFor(dictionaryPath()).ok()) {
      std::FILE* in = std::fopen(qel::CommonnessRanks::pathFor(dictionaryPath()).c_str(), "rb");
      std::vector<uint8_t> bytes;
      for (int c; in && (c = std::fgetc(in)) != EOF;) bytes.push_back(static_cast<uint8_t>(c));
      if (in) std::fclose(in);
      writeFile(folder + "/seed.qcr", bytes);
    }
    // 4096 slots, every one taken by an entry of no text and of a hash that no lookup meets.
    constexpr uint32_t kSlots = 4096;
    std::vector<uint8_t> full(32 + size_t{kSlots} * 16, 0);
    std::memcpy(full.data(), "QCR2", 4);
    putU32(full, 4, kSlots);
    for (uint32_t i = 0; i < kSlots; ++i) {
      full[32 + size_t{i} * 16] = 0x5A;          // the hash
      putU32(full, 32 + size_t{i} * 16 + 8, 1);  // an offset: the slot is taken
      full[32 + size_t{i} * 16 + 14] = 7;
    }
    writeFile(folder + "/full.qcr", full);
    break;
  }
  qel::fuzz::scratchFile("ranks", ".qcr");  // removed at exit with the rest
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<uint8_t> bytes(data, data + size);
  nameTheDictionary(bytes);
  writeFile(qel::CommonnessRanks::pathFor(dictionaryPath()), bytes);
  qel::CommonnessRanks ranks;
  if (!ranks.loadFor(dictionaryPath()).ok()) return 0;
  uint32_t sum = 0;
  for (const char* word : {"tail", "toll", "tall", "", "x"}) sum += ranks.rankOf(word);
  for (const auto& [entry, rank] : ranks.all()) sum += rank + static_cast<uint32_t>(entry.size());
  return sum == 0xFFFFFFFFu ? -1 : 0;  // the result is used, so the lookups are made
}
