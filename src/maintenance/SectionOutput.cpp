#include "maintenance/SectionOutput.h"

#include <string>
#include <vector>

#include "maintenance/EntryOrder.h"

namespace qel::build {
namespace {

class StreamWriter {
 public:
  StreamWriter(const PrefixCode& code, OutputFile& file) : m_code(code), m_packer(file) {}

  void item(std::string_view text) {
    for (char c : text) put(static_cast<uint8_t>(c));
    put(format::kEndOfEntrySymbol);
  }
  void groupEnd() { put(format::kEndOfEntrySymbol); }
  void flag(bool set) { m_packer.put(set ? 1 : 0, 1); }
  void flush() { m_packer.flush(); }

 private:
  void put(uint8_t symbol) {
    const SymbolCode& s = m_code.symbols[symbol];
    m_packer.put(s.streamBits, s.length);
  }

  const PrefixCode& m_code;
  BitPacker m_packer;
};

// Appends the reference group of one distinct entry; false when it has nothing to point at.
bool appendReferences(const BuildState& state, const LengthGroup& group, size_t entry,
                      std::vector<uint32_t>& table) {
  const size_t start = table.size();
  for (uint32_t r = group.runStarts[entry]; r < group.runStarts[entry + 1]; ++r) {
    const uint32_t number = group.records[r].definition;
    if (number == 0) continue;
    const uint32_t offset = state.recordOffset[number - 1];
    // Records come in number order, so a definition named twice (an entry repeated on its line)
    // is next to itself.
    if (offset != 0 && (table.size() == start || table.back() != offset)) table.push_back(offset);
  }
  const uint32_t word = group.words[entry];
  if (word != kNoWord && state.words.present(word)) {
    const IndexWord& w = state.words[word];
    table.push_back(w.notListed ? format::kNotListed : w.listOffset);
  }
  if (table.size() == start) return false;
  table.back() |= format::kLastValueBit;
  return true;
}

}  // namespace

bool writeSections(BuildState& state) {
  HeaderTables& h = state.header;
  OutputFile& file = state.file;
  std::vector<uint32_t> references;
  std::string text;
  for (int length = 1; length < h.slots; ++length) {
    const LengthGroup& group = state.lengths[length];
    if (group.distinct() == 0) continue;

    if (!group.terms.empty()) {
      h.indexTable[length] = static_cast<uint32_t>(file.position());
      for (uint32_t word : group.terms) {
        const IndexWord& w = state.words[word];
        file.writeU32(w.notListed ? format::kNotListed : w.listOffset);
      }
    }
    const uint32_t section = static_cast<uint32_t>(file.position());
    h.section[length] = section;
    for (int lower = length - 1; lower > 0 && h.section[lower] == 0; --lower) {
      h.section[lower] = section;
    }

    StreamWriter stream(state.code, file);
    references.clear();
    for (size_t e = 0; e < group.distinct(); ++e) {
      if (!state.source.keepGoing()) {
        state.source.error(kAbandoned);
        return false;
      }
      stream.item(state.text(group.records[group.runStarts[e]]));
      stream.flag(appendReferences(state, group, e, references));
    }
    stream.groupEnd();
    for (uint32_t word : group.terms) {
      termText(state, word, text);
      stream.item(text);
    }
    stream.groupEnd();
    stream.flush();

    if (!references.empty()) {
      h.entryReference[length] = static_cast<uint32_t>(file.position());
      h.entryReferenceCount[length] = static_cast<uint32_t>(references.size());
      for (uint32_t v : references) file.writeU32(v);
    }
    state.source.info(std::to_string(length) + " letter words handled OK\n");
  }
  return true;
}

}  // namespace qel::build
