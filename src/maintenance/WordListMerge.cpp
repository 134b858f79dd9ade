#include "maintenance/WordListMerge.h"

#include <algorithm>
#include <numeric>
#include <string>

#include "dictionary/FileFormat.h"
#include "maintenance/EntryOrder.h"
#include "maintenance/FoldTable.h"
#include "maintenance/SourceLine.h"
#include "pattern/FoldedCompare.h"

namespace qel {

void WordListMerge::beginInput(std::string name) { m_counts.emplace_back().name = std::move(name); }

std::string WordListMerge::keyOf(std::string_view word, std::string_view annotation) const {
  if (m_duplicates == Duplicates::kKeepEverySpelling) {
    std::string key(word);
    key += '\n';
    key += annotation;
    return key;
  }
  std::string key;
  key.reserve(word.size());
  for (char c : word) {
    if (const uint8_t f = folded::fold(static_cast<uint8_t>(c))) key += static_cast<char>(f);
  }
  return key;
}

void WordListMerge::skipLine(std::string_view reason) {
  if (m_counts.empty()) beginInput(std::string());
  InputCounts& counts = m_counts.back();
  ++counts.skipped;
  for (auto& [text, count] : counts.skippedFor) {
    if (text == reason) {
      ++count;
      return;
    }
  }
  counts.skippedFor.emplace_back(reason, 1);
}

const char* WordListMerge::whyNotHeld(std::string_view word, std::string_view annotation) const {
  const size_t letters = folded::letterCount(word);
  if (letters == 0) return "no letter";
  if (m_holds == Holds::kAnyEntry) return nullptr;
  if (letters > static_cast<size_t>(format::kMaxEntryLength)) {
    static const std::string reason = "more than " + std::to_string(format::kMaxEntryLength) +
                                      " letters, which no dictionary holds";
    return reason.c_str();
  }
  // The entry's text as the builder stores it: the word, a line feed and the annotation.
  if (word.size() + (annotation.empty() ? 0 : annotation.size() + 1) > build::kMaxEntryText)
    return "too long for a dictionary entry";
  return nullptr;
}

bool WordListMerge::add(std::string_view word, std::string_view annotation,
                        std::string_view definition) {
  if (m_counts.empty()) beginInput(std::string());
  ++m_counts.back().entries;
  if (const char* reason = whyNotHeld(word, annotation)) {
    skipLine(reason);
    m_last = -1;
    return false;
  }
  InputCounts& counts = m_counts.back();
  const auto [place, added] =
      m_index.try_emplace(keyOf(word, annotation), static_cast<uint32_t>(m_entries.size()));
  if (added) {
    m_entries.push_back(Entry{std::string(word), std::string(annotation), {}});
    ++counts.added;
  } else {
    ++counts.duplicates;
  }
  m_last = place->second;
  addTo(m_entries[place->second], definition);
  return added;
}

void WordListMerge::addDefinition(std::string_view definition) {
  if (m_last >= 0) addTo(m_entries[m_last], definition);
}

void WordListMerge::addTo(Entry& entry, std::string_view definition) {
  // A definition is one source line's body: a line feed would end it.
  std::string body(definition);
  while (!body.empty() && (body.back() == '\n' || body.back() == '\r')) body.pop_back();
  std::replace_if(
      body.begin(), body.end(), [](char c) { return c == '\n' || c == '\r'; }, ' ');
  if (body.empty()) return;
  if (std::find(entry.definitions.begin(), entry.definitions.end(), body) ==
      entry.definitions.end())
    entry.definitions.push_back(std::move(body));
}

void WordListMerge::addSourceLine(std::string_view line) {
  static const build::ByteTable canonical = build::canonicalLetters(lowerCaseFoldTable());
  build::SourceLine parsed;
  parsed.parse(line, canonical);
  for (const build::SourceField& f : parsed.fields()) {
    if (f.empty) continue;
    std::string_view annotation = parsed.entryText(f).substr(f.wordEnd - f.begin);
    if (!annotation.empty()) annotation.remove_prefix(1);  // the line feed before it
    add(parsed.word(f), annotation, parsed.hasBody() ? parsed.body() : std::string_view());
  }
}

std::vector<std::string> WordListMerge::sourceLines() const {
  std::vector<uint32_t> order(m_entries.size());
  std::iota(order.begin(), order.end(), 0u);
  const build::WordListMapComparator before;
  std::sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) {
    const Entry& x = m_entries[a];
    const Entry& y = m_entries[b];
    if (before(x.word, y.word)) return true;
    if (before(y.word, x.word)) return false;
    return x.annotation < y.annotation;
  });
  std::vector<std::string> lines;
  lines.reserve(m_entries.size());
  for (uint32_t k : order) {
    const Entry& e = m_entries[k];
    const std::string field = build::entryField(e.word, e.annotation);
    if (e.definitions.empty()) lines.push_back(field);
    for (const std::string& d : e.definitions) lines.push_back(field + "|" + d);
  }
  return lines;
}

}  // namespace qel
