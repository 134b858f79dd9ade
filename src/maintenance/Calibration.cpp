#include "maintenance/Calibration.h"

#include <vector>

#include "definitions/RichTextPlain.h"
#include "definitions/RichTextTokenizer.h"

namespace qel::build {

void ProgressLine::atLine(long count, std::string_view prefix, std::string_view field) {
  if (count % 64 != 0) return;
  const auto now = std::chrono::steady_clock::now();
  if (now - m_last < std::chrono::milliseconds(500)) return;
  m_last = now;
  // A field is shown as far as a progress line has room for.
  constexpr size_t kShownField = 80;
  std::string text(prefix);
  text.append(field.substr(0, kShownField));
  if (field.size() > kShownField) text.append("...");
  text.push_back('\n');
  m_source.info(text);
}

void indexBody(BuildState& state, std::string_view body, uint32_t number, std::string& scratch) {
  std::string_view text = body;
  if (rtf::isRichText(body)) {
    rtf::indexText(body, scratch);
    text = scratch;
  } else if (!text.empty() && text.back() == '\n') {
    text.remove_suffix(1);
  }
  const ByteTable& canonical = state.canonical;
  char word[format::kMaxSlots];
  size_t letters = 0;
  auto endWord = [&] {
    if (letters > 0 && letters <= format::kMaxEntryLength) {
      state.words.add(std::string_view(word, letters), number,
                      state.parameters.commonWordPercentage);
    }
    letters = 0;
  };
  for (char c : text) {
    const uint8_t letter = canonical[static_cast<uint8_t>(c)];
    if (letter == 0) {
      endWord();
      continue;
    }
    if (letters == format::kMaxSlots) letters = 0;  // a 32-letter word: nothing can match it
    word[letters++] = static_cast<char>(letter);
  }
  endWord();
}

bool isKept(const SourceField& f, const BuildParameters& p) {
  return f.letters >= p.shortest && f.letters <= p.longest && f.end - f.begin <= kMaxEntryText;
}

SourcePass::SourcePass(BuildState& state) : m_state(state) { state.source.rewind(); }

bool SourcePass::next(SourceLine& line) {
  const BuildSource::Line result = m_state.source.nextLine(m_raw, ++m_count);
  if (result == BuildSource::Line::Abandoned) {
    m_state.source.error(kAbandoned);
    m_abandoned = true;
  }
  if (result != BuildSource::Line::Text) return false;
  line.parse(m_raw, m_state.canonical);
  return true;
}

bool calibrate(BuildState& state) {
  const BuildParameters& p = state.parameters;
  SourceLine line;
  std::string scratch;
  std::vector<bool> kept;
  uint32_t numbers = 0;
  SourcePass source(state);
  while (source.next(line)) {
    state.progress.atLine(source.count(), "Calibrating dictionary - ", line.firstWord());

    const auto& fields = line.fields();
    kept.assign(fields.size(), false);
    bool anyKept = false;
    for (size_t k = 0; k < fields.size(); ++k) {
      const SourceField& f = fields[k];
      if (isKept(f, p)) {
        kept[k] = anyKept = true;
      } else if (f.letters > format::kMaxEntryLength) {
        // No length section could hold it, whatever the length range.
        state.source.error("line " + std::to_string(source.count()) + ": an entry of more than " +
                           std::to_string(format::kMaxEntryLength) +
                           " letters - left out: " + std::string(line.word(f)) + "\n");
      } else if (f.letters >= p.shortest && f.letters <= p.longest) {
        state.source.error("Entry too long - left out: " + std::string(line.word(f)) + "\n");
      }
    }
    if (!anyKept) continue;

    const uint32_t number = ++numbers;
    const int pass = line.hasBody() ? line.definitionPass(kept) : 0;
    state.definitionPass.push_back(static_cast<uint8_t>(pass));
    for (size_t k = 0; k < fields.size(); ++k) {
      if (!kept[k]) continue;
      const SourceField& f = fields[k];
      const std::string_view text = line.entryText(f);
      state.lengths[f.letters].records.push_back(
          {state.entryText.size(), static_cast<uint16_t>(text.size()),
           static_cast<uint16_t>(f.wordEnd - f.begin), pass != 0 ? number : 0});
      state.entryText.append(text);
    }
    if (pass == 2) indexBody(state, line.body(), number, scratch);
  }
  if (source.abandoned()) return false;
  state.recordOffset.assign(numbers, 0);
  return true;
}

}  // namespace qel::build
