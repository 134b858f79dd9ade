#include "maintenance/EntryOrder.h"

#include <algorithm>
#include <string>

#include "pattern/FoldedCompare.h"

namespace qel::build {

bool WordListMapComparator::operator()(std::string_view a, std::string_view b) const {
  const int c = folded::compare(a, b);
  if (c != 0) return c < 0;
  return a < b;  // char_traits<char> compares as unsigned bytes
}

void arrangeEntries(BuildState& state) {
  const WordListMapComparator before;
  state.header.slots = 0;
  state.frequency.fill(0);
  for (int length = 1; length < format::kMaxSlots; ++length) {
    LengthGroup& group = state.lengths[length];
    auto& records = group.records;
    std::sort(records.begin(), records.end(), [&](const EntryRecord& a, const EntryRecord& b) {
      const std::string_view ta = state.text(a), tb = state.text(b);
      if (ta != tb) return before(ta, tb);
      return a.definition < b.definition;
    });
    group.runStarts.clear();
    for (uint32_t i = 0; i < records.size(); ++i) {
      if (i > 0 && state.text(records[i]) == state.text(records[i - 1])) continue;
      group.runStarts.push_back(i);
      for (char c : state.text(records[i])) ++state.frequency[static_cast<uint8_t>(c)];
      ++state.frequency[format::kEndOfEntrySymbol];
    }
    group.runStarts.push_back(static_cast<uint32_t>(records.size()));
    state.header.entryCount[length] = static_cast<uint32_t>(group.distinct());
    if (group.distinct() > 0) state.header.slots = length + 1;
  }
}

void linkEntriesToWords(BuildState& state) {
  std::string key;
  for (int length = 1; length < state.header.slots; ++length) {
    LengthGroup& group = state.lengths[length];
    group.words.assign(group.distinct(), kNoWord);
    if (state.words.size() == 0) continue;
    for (size_t e = 0; e < group.distinct(); ++e) {
      const EntryRecord& r = group.records[group.runStarts[e]];
      key.clear();
      for (char c : state.text(r).substr(0, r.wordSize)) {
        const uint8_t letter = state.canonical[static_cast<uint8_t>(c)];
        if (letter != 0) key.push_back(static_cast<char>(letter));
      }
      const uint32_t id = state.words.find(key);
      group.words[e] = id;
      if (id != kNoWord) state.words[id].carried = true;
    }
  }
  for (uint32_t id = 0; id < state.words.size(); ++id) {
    IndexWord& w = state.words[id];
    if (w.carried || w.letters >= state.header.slots || state.header.entryCount[w.letters] == 0) {
      continue;
    }
    // Every letter of a term needs a code in the stream.
    bool writable = true;
    for (char c : state.words.key(id)) {
      const int index = state.alphabet.letterIndex[static_cast<uint8_t>(c)];
      writable &= state.code.symbols[state.alphabet.representative[index]].length > 0;
    }
    w.term = writable;
  }
}

void termText(const BuildState& state, uint32_t word, std::string& text) {
  text.clear();
  for (char c : state.words.key(word)) {
    const int index = state.alphabet.letterIndex[static_cast<uint8_t>(c)];
    text.push_back(static_cast<char>(state.alphabet.representative[index]));
  }
}

void orderIndexTerms(BuildState& state) {
  std::string texts;
  std::array<std::vector<std::pair<uint32_t, uint32_t>>, format::kMaxSlots>
      byLength;  // (word, offset)
  std::string text;
  for (uint32_t id = 0; id < state.words.size(); ++id) {
    IndexWord& w = state.words[id];
    if (!w.term) continue;
    if (!state.words.present(id)) {
      w.term = false;
      continue;
    }
    termText(state, id, text);
    byLength[w.letters].emplace_back(id, static_cast<uint32_t>(texts.size()));
    texts.append(text);
  }
  const WordListMapComparator before;
  for (int length = 1; length < format::kMaxSlots; ++length) {
    auto& terms = byLength[length];
    auto textOf = [&](const std::pair<uint32_t, uint32_t>& t) {
      return std::string_view(texts).substr(t.second, length);
    };
    std::sort(terms.begin(), terms.end(),
              [&](const auto& a, const auto& b) { return before(textOf(a), textOf(b)); });
    LengthGroup& group = state.lengths[length];
    group.terms.clear();
    for (const auto& t : terms) group.terms.push_back(t.first);
  }
}

}  // namespace qel::build
