// Any bytes behind a side file's header, for a small dictionary: mapping them and replaying every
// length, unfiltered and through pattern filters, must end cleanly, never crash or read out of
// bounds. The header is stamped with the dictionary's key first, so that the bytes reach the checks
// behind it; the seed is a real side file of the dictionary.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "ScratchFiles.h"
#include "dictionary/DecodedSideFile.h"
#include "dictionary/Dictionary.h"
#include "dictionary/EntryEnumerator.h"
#include "maintenance/DictionaryBuilder.h"
#include "maintenance/FoldTable.h"
#include "maintenance/LineListSource.h"
#include "pattern/MatchEngineSet.h"

namespace {

std::string dictionaryPath() { return qel::fuzz::scratchFile("side", ".qcd"); }

qel::Dictionary& dictionary() {
  static qel::Dictionary opened;
  return opened;
}

}  // namespace

// Builds the dictionary every input is the side file of, and puts a real side file of it into the
// corpus folder (the first argument that is no option) as a seed.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  std::vector<std::string> lines = {"cat",       "dog+animal+", "fly-by-night|late",
                                    "Zo\xEB",    "tail",        "toll",
                                    "tall:tail", "tails",       "abcdefghijklmnopqrstuvwxyz"};
  // Enough words of one length that the section's bits and counts run over several words, some
  // spelled out by their letters and some not.
  for (int i = 0; i < 150; ++i) {
    std::string word = {static_cast<char>('a' + i % 26), static_cast<char>('a' + i / 26), 'x', 'e'};
    if (i % 4 == 0) word[0] = static_cast<char>(word[0] - 'a' + 'A');
    if (i % 5 == 0) word += "|defined";
    lines.push_back(word);
  }
  qel::LineListSource source(lines);
  qel::BuildParameters p;
  p.fold = qel::lowerCaseFoldTable();
  p.outputPath = dictionaryPath();
  if (!qel::buildDictionary(source, p) || !dictionary().open(p.outputPath, false).ok())
    std::abort();
  for (int i = 1; i < *argc; ++i) {
    if ((*argv)[i][0] == '-') continue;
    (void)qel::DecodedSideFile::make(std::string((*argv)[i]) + "/seed.qds", dictionary());
    break;
  }
  return 0;
}

// What the bytes handed out add up to: kept, so that reading them is not optimised away.
volatile unsigned g_bytesSeen = 0;

void see(std::string_view bytes) {
  unsigned sum = 0;
  for (const char c : bytes) sum += static_cast<uint8_t>(c);
  g_bytesSeen = g_bytesSeen + sum;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  qel::Dictionary& d = dictionary();
  std::vector<uint8_t> bytes(data, data + size);
  if (!qel::restampSideFile(bytes, d)) return 0;
  const std::string path = qel::fuzz::scratchFile("side", ".qds");
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return 0;
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);

  auto side = qel::DecodedSideFile::open(path, d);
  if (!side) return 0;
  for (int length = 1; length < qel::format::kMaxSlots; ++length) {
    const auto section = side->section(length);
    if (!section) continue;
    // Replay as a search does, through a dictionary of its own that takes the section.
    qel::Dictionary replaying;
    if (!replaying.open(dictionaryPath(), false).ok()) return 0;
    replaying.setDecodedSource([&](int l) { return l == length ? section : nullptr; });
    // Handed out many at a time where replay can, as a program writing results as found takes
    // them; every byte handed out is read.
    auto inBulk = [&](qel::EntryFilter* filter) {
      qel::EntryEnumerator bulk(replaying);
      if (!bulk.selectLength(length)) return;
      qel::EntryEnumerator::AcceptedEntry accepted[qel::EntryEnumerator::kAcceptedCapacity];
      for (;;) {
        const size_t count = bulk.nextAccepted(filter, accepted, std::size(accepted));
        for (size_t i = 0; i < count; ++i) {
          see(accepted[i].word);
          see(accepted[i].annotation);
        }
        if (count > 0) continue;
        const uint8_t* letters = bulk.nextBatch(filter);
        if (letters && letters[0] == qel::kEndOfLetters) break;
      }
    };
    inBulk(nullptr);
    qel::EntryEnumerator e(replaying);
    if (!e.selectLength(length)) continue;
    while (e.next(nullptr)[0] != qel::kEndOfLetters) {
      (void)e.annotation();
      (void)e.referenceNumber();
    }
    // As searches filter: in bulk from the letters alone (fixed letters, an affix, an anagram),
    // item by item, and reading the text.
    for (const char* pattern : {"t..l", "*l", "*-*", ";tail"}) {
      qel::MatchEngineSet filter;
      if (filter.parse(replaying.alphabet(), pattern, 1, 31) !=
              qel::pattern::PatternError::kValid ||
          !filter.setCurrentLength(length)) {
        continue;
      }
      inBulk(&filter);
      qel::EntryEnumerator searching(replaying);
      if (!searching.selectLength(length)) continue;
      for (;;) {
        const uint8_t* letters = searching.nextBatch(&filter);
        if (letters && letters[0] == qel::kEndOfLetters) break;
      }
    }
  }
  return 0;
}
