// Making a side file: each length decoded in turn and written with its checksums, the header last,
// the whole replacing the old file only once written; and the restamping of side-file bytes for
// tests and fuzzing.
#include <cerrno>
#include <cstdio>
#include <cstring>

// xxHash (Debian's libxxhash-dev) compiled in from its header: qel-cli links statically.
#define XXH_INLINE_ALL
#include <xxhash.h>

#include "dictionary/DecodedSideFile.h"
#include "dictionary/Dictionary.h"
#include "dictionary/EntryEnumerator.h"
#include "dictionary/SideFileLayout.h"
#include "platform/FileReplacement.h"

namespace qel {

using namespace side_file;

namespace {

// Writes to the side file and keeps the checksum of what a length writes.
class SectionWriter {
 public:
  SectionWriter(std::FILE* file, uint64_t& position) : m_file(file), m_position(position) {
    XXH3_64bits_reset(m_state.get());
  }
  bool write(const void* data, size_t size) {
    XXH3_64bits_update(m_state.get(), data, size);
    m_position += size;
    return size == 0 || std::fwrite(data, 1, size, m_file) == size;
  }
  bool padTo8() {
    static const char zeros[8] = {};
    return write(zeros, (8 - m_position % 8) % 8);
  }
  uint64_t checksum() { return XXH3_64bits_digest(m_state.get()); }

 private:
  struct FreeState {
    void operator()(XXH3_state_t* state) const { XXH3_freeState(state); }
  };
  std::unique_ptr<XXH3_state_t, FreeState> m_state{XXH3_createState()};
  std::FILE* m_file;
  uint64_t& m_position;
};

bool writeAll(std::FILE* f, const void* data, size_t size) {
  return size == 0 || std::fwrite(data, 1, size, f) == size;
}

bool padTo8(std::FILE* f, uint64_t& position) {
  static const char zeros[8] = {};
  const size_t pad = (8 - position % 8) % 8;
  position += pad;
  return writeAll(f, zeros, pad);
}

}  // namespace

Status DecodedSideFile::make(const std::string& path, Dictionary& dictionary) {
  const Status changed = Status::invalid("the dictionary changed");
  Header header;
  std::string dictionaryPath;
  if (!keyOf(dictionary, header, dictionaryPath)) return changed;
  DictionaryBytes dictionaryBytes(dictionary);
  if (dictionaryBytes.failed()) return changed;
  FileReplacement out;
  if (Status begun = out.begin(path, FileReplacement::Target::kPrivate); !begun.ok()) return begun;
  std::FILE* f = out.file();
  uint64_t position = sizeof header + dictionaryPath.size();
  bool ok = writeAll(f, &header, sizeof header) &&
            writeAll(f, dictionaryPath.data(), dictionaryPath.size()) && padTo8(f, position);
  // One section at a time: making the file needs no more memory than its largest section.
  for (int length = 1; ok && length < dictionary.slotCount(); ++length) {
    const std::shared_ptr<const DecodedSection> s =
        EntryEnumerator::decodeSection(dictionary, length);
    if (!s) continue;
    SectionRecord& r = header.sections[length];
    SectionWriter w(f, position);
    r.present = 1;
    r.complete = s->complete ? 1 : 0;
    r.leadingEntries = s->leadingEntries;
    r.items = position;
    r.itemCount = s->items.size();
    ok = w.write(s->items.data(), s->items.size_bytes());
    r.texts = position;
    r.textBytes = s->texts.size();
    ok = ok && w.write(s->texts.data(), s->texts.size());
    r.letters = position;
    r.letterBytes = s->letters.size();
    ok = ok && w.write(s->letters.data(), s->letters.size()) && w.padTo8();
    r.unspelledLeading = s->unspelledLeading;
    r.leadingGroupState = s->leadingGroupState;
    // Each array is 8-byte aligned, as the ones before it end on a multiple of 8.
    for (auto [offset, part] :
         {std::pair{&r.spelled, std::as_bytes(s->spelled)},
          std::pair{&r.referenced, std::as_bytes(s->referenced)},
          std::pair{&r.unspelledBefore, std::as_bytes(s->unspelledBefore)},
          std::pair{&r.referencedBefore, std::as_bytes(s->referencedBefore)}}) {
      *offset = position;
      ok = ok && w.write(part.data(), part.size()) && w.padTo8();
    }
    r.end = position;
    r.checksum = w.checksum();
    // Cut short or rewritten since it was opened: what was decoded may be partial.
    if (ok && !dictionaryBytes.checksumOf(length, r.dictionaryChecksum)) {
      dictionary.invalidate();
      break;
    }
  }
  Status status = ok ? Status() : Status::failed(Status::Code::kUnwritable, std::strerror(errno));
  // The dictionary changed while it was decoded: what was decoded may be mixed.
  if (status.ok() && !dictionary.valid()) status = changed;
  header.headerChecksum = headerChecksum(header, dictionaryPath);
  if (status.ok() && (std::fseek(f, 0, SEEK_SET) != 0 || !writeAll(f, &header, sizeof header)))
    status = Status::failed(Status::Code::kUnwritable, std::strerror(errno));
  if (!status.ok()) {
    out.discard();
    return status;
  }
  if (Status committed = out.commit(); !committed.ok()) return committed;
  return Status();
}

bool restampSideFile(std::vector<uint8_t>& bytes, const Dictionary& dictionary, Restamp what) {
  Header key;
  std::string path;
  if (!keyOf(dictionary, key, path) || bytes.size() < sizeof key + path.size()) return false;
  Header header;
  std::memcpy(&header, bytes.data(), sizeof header);
  std::memcpy(key.sections, header.sections, sizeof key.sections);
  for (SectionRecord& r : key.sections) {
    if (what == Restamp::kKeyAndContents && r.end >= r.items &&
        inside(r.items, r.end - r.items, 1, bytes.size())) {
      r.checksum = checksum(bytes.data() + r.items, static_cast<size_t>(r.end - r.items));
    }
  }
  std::memcpy(bytes.data() + sizeof key, path.data(), path.size());
  key.headerChecksum = headerChecksum(key, path);
  std::memcpy(bytes.data(), &key, sizeof key);
  return true;
}

}  // namespace qel
