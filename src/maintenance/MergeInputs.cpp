#include "maintenance/MergeInputs.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "dictionary/Alphabet.h"
#include "dictionary/CommonnessRanks.h"
#include "dictionary/Definition.h"
#include "dictionary/DefinitionReferences.h"
#include "dictionary/DictionaryWatch.h"
#include "dictionary/EntryEnumerator.h"
#include "dictionary/FileFormat.h"
#include "dictionary/QCDictionaryDefinitionRetriever.h"
#include "dictionary/QCDictionaryList.h"
#include "maintenance/TextFileSource.h"
#include "platform/Cp1252.h"
#include "platform/FileReplacement.h"

namespace qel {
namespace {

constexpr long kProgressEvery = 4096;  // lines or entries between progress calls

// The text file, read once, keeping what it reports and showing progress as it goes.
class ListReader : public TextFileSource {
 public:
  explicit ListReader(const MergeProgress& progress) : m_progress(progress) {}
  void info(const std::string&) override {}
  void error(const std::string& text) override { last = text; }
  // Progress by the piece, not by the line: a file without line ends is one line.
  bool pieceRead() override {
    if (!m_progress || size() == 0 || m_progress(static_cast<double>(position()) / size()))
      return true;
    cancelled = true;
    return false;
  }
  std::string last;
  bool cancelled = false;

 private:
  const MergeProgress& m_progress;
};

std::string quoted(const std::string& path) { return "\"" + path + "\""; }

const Status kCancelled = Status::failed(Status::Code::kCancelled, "Merge cancelled");

}  // namespace

Status mergeTextFile(WordListMerge& merge, const std::string& path, bool utf8,
                     const MergeProgress& progress) {
  ListReader reader(progress);
  const Status opened =
      reader.open(path, utf8 ? TextFileSource::Encoding::Utf8 : TextFileSource::Encoding::Cp1252);
  if (!opened.ok()) {
    return Status::failed(opened.code(), "Couldn't read " + quoted(path) + " - " + opened.reason());
  }
  merge.beginInput(path);
  reader.rewind();
  std::string line;
  for (long count = 1;; ++count) {
    const BuildSource::Line got = reader.nextLine(line, count);
    if (got == BuildSource::Line::End) break;
    if (got == BuildSource::Line::Abandoned) {
      if (reader.cancelled) return kCancelled;
      std::string why = reader.last.empty() ? "Couldn't read " + quoted(path) : reader.last;
      while (!why.empty() && why.back() == '\n') why.pop_back();
      return Status::failed(Status::Code::kUnreadable, why);
    }
    if (!reader.skipReason().empty()) {
      merge.skipLine(reader.skipReason());
    } else {
      merge.addSourceLine(line);
    }
    if (count % kProgressEvery == 0 && progress && reader.size() > 0 &&
        !progress(static_cast<double>(reader.position()) / static_cast<double>(reader.size()))) {
      return kCancelled;
    }
  }
  return Status();
}

Status mergeDictionary(WordListMerge& merge, const std::string& path, const MergeProgress& progress,
                       CommonnessRanks* ranks) {
  CommonnessRanks inputRanks;
  if (ranks) (void)inputRanks.loadFor(path);  // unreadable ranks: the entries come unranked
  QCDictionaryList list(std::vector<std::string>{path});
  if (!list.recheck(0)) {
    return Status::invalid(quoted(path) + " is not a valid dictionary - " +
                           list.dictionary(0).status().reason());
  }
  merge.beginInput(path);
  const DictionaryWatch watch(list);
  EntryEnumerator entries(list, 0);
  DefinitionReferences references(list, 0);
  QCDictionaryDefinitionRetriever retriever(list, 0);
  long total = 0, done = 0;
  for (int length = 1; length < list.slotCount(0); ++length) total += list.entryCount(0, length);
  std::vector<uint32_t> offsets;
  Definition definition;
  std::string annotation;
  for (int length = 1; length < list.slotCount(0); ++length) {
    if (!entries.selectLength(length)) continue;
    for (;;) {
      const uint8_t* letters = entries.next(nullptr);
      if (letters[0] == kEndOfLetters) break;
      // An annotation of several lines reads back as one.
      annotation.clear();
      for (const char* part = entries.annotation(); part && *part; part += std::strlen(part) + 1) {
        if (!annotation.empty()) annotation += ' ';
        annotation += part;
      }
      offsets.clear();
      if (const auto number = entries.referenceNumber()) {
        references.references(false, length, *number, entries.groupState(), offsets);
      }
      merge.add(entries.word(), annotation, {});
      if (ranks && !inputRanks.empty()) {
        if (const uint8_t rank = inputRanks.rankOf(entries.word()); rank < CommonnessRanks::kRarest)
          ranks->set(entries.word(), rank);
      }
      for (uint32_t offset : offsets) {
        definition = Definition{};
        if (retriever.read(offset, definition)) merge.addDefinition(definition.body);
      }
      if (++done % kProgressEvery == 0 && progress &&
          !progress(static_cast<double>(done) / static_cast<double>(total))) {
        return kCancelled;
      }
    }
    if (entries.invalidated()) break;
  }
  if (watch.changed()) return Status::invalid(quoted(path) + " changed while it was read");
  return Status();
}

bool looksLikeDictionary(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return false;
  char tag[4] = {};
  const bool read = std::fread(tag, 1, 4, file) == 4;
  std::fclose(file);
  return read && (std::memcmp(tag, format::kTagVersion1, 4) == 0 ||
                  std::memcmp(tag, format::kTagVersion0, 4) == 0);
}

Status writeMergedText(const std::vector<std::string>& lines, const std::string& path) {
  FileReplacement file;
  if (const Status begun = file.begin(path); !begun.ok()) {
    return Status::failed(Status::Code::kUnwritable,
                          "Couldn't open " + quoted(path) + " - " + begun.reason(),
                          begun.systemError());
  }
  std::string text;
  for (const std::string& line : lines) {
    text = cp1252::toUtf8(line);
    text += '\n';
    if (std::fwrite(text.data(), 1, text.size(), file.file()) != text.size()) {
      return Status::failed(Status::Code::kUnwritable,
                            "Couldn't output " + quoted(path) + " - out of disk space?");
    }
  }
  if (const Status committed = file.commit(backupPathFor(path)); !committed.ok()) {
    return Status::failed(Status::Code::kUnwritable,
                          "Couldn't output " + quoted(path) + " - " + committed.reason(),
                          committed.systemError());
  }
  return Status();
}

}  // namespace qel
