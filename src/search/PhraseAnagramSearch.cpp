#include "search/PhraseAnagramSearch.h"

#include <algorithm>
#include <new>

#include "app/Messages.h"
#include "dictionary/DictionaryWatch.h"
#include "dictionary/QCDictionaryList.h"
#include "pattern/FoldedCompare.h"
#include "pattern/MacroExpansion.h"
#include "pattern/MatchEngineSet.h"
#include "pattern/PatternLimits.h"
#include "search/AnagramWordReader.h"

namespace qel {
namespace {

// The most letters an entry has.
constexpr int kLongestEntry = pattern::kLongestWord;

// The dictionary's order of entries: by folded letters, then byte by byte.
bool dictionaryOrder(std::string_view a, std::string_view b) {
  const int c = folded::compare(a, b);
  return c != 0 ? c < 0 : a < b;
}

}  // namespace

PhraseAnagramSearch::PhraseAnagramSearch(QCDictionaryList& list, int dictionary)
    : m_list(list), m_dictionary(dictionary) {}

PhraseAnagramSearch::~PhraseAnagramSearch() = default;

PhraseAnagramSearch::Validation PhraseAnagramSearch::fail(Problem problem, std::string text) {
  m_phase = Phase::kIdle;
  return {problem, std::move(text)};
}

PhraseAnagramSearch::Validation PhraseAnagramSearch::start(std::string_view letters,
                                                           const PhraseAnagramSettings& settings) {
  m_reader.reset();
  m_watch.reset();
  m_pattern.reset();
  m_phase = Phase::kIdle;
  m_ending = Ending::kComplete;
  m_found = 0;
  m_depth = -1;
  m_expansionPending = false;
  m_changedPath.clear();
  m_settings = settings;
  const PhraseAnagramSettings& s = m_settings;
  if (s.words < 1 || s.words > PhraseAnagramSettings::kMaxWords || s.shortest < 1 ||
      s.shortest > kLongestEntry || s.limit < 1) {
    return fail(Problem::kOutOfRange, "a setting is out of its range");
  }
  if (m_dictionary < 0 || m_dictionary >= m_list.count() || !m_list.recheck(m_dictionary)) {
    const bool listed = m_dictionary >= 0 && m_dictionary < m_list.count();
    return fail(Problem::kInvalidDictionary,
                listed ? m_list.description(m_dictionary) : kDictionaryNotFoundText);
  }
  const Alphabet& alphabet = m_list.alphabet(m_dictionary);

  PackedLetters::Counts counts{};
  int total = 0;
  for (const char c : letters) {
    const uint8_t letter = alphabet.letterIndex[static_cast<uint8_t>(c)];
    if (letter == kNotALetter) continue;
    ++counts[letter];
    ++total;
  }
  if (total == 0) return fail(Problem::kNoLetters, "there are no letters to rearrange");
  if (s.contains.size() > static_cast<size_t>(s.words)) {
    return fail(Problem::kTooManyContained, "more words to contain than words allowed");
  }
  for (const std::string& word : s.contains) {
    int taken = 0;
    bool held = true;
    for (const char c : word) {
      const uint8_t letter = alphabet.letterIndex[static_cast<uint8_t>(c)];
      if (letter == kNotALetter) continue;
      ++taken;
      held = --counts[letter] >= 0 && held;
    }
    if (taken == 0) return fail(Problem::kContainedEmpty, "a word to contain has no letters");
    if (!held) return fail(Problem::kNotInLetters, "\"" + word + "\" is not in the letters");
    total -= taken;
  }

  int shortest = s.shortest;
  int longest = kLongestEntry;
  if (!s.pattern.empty()) {
    const std::optional<std::string> expanded =
        expandMacros(s.pattern, kDefaultAtExpansion, kDefaultHashExpansion);
    if (!expanded) {
      return fail(Problem::kPattern,
                  std::string(messageText(messageNumber(pattern::PatternError::kTooLong))));
    }
    m_pattern = std::make_unique<MatchEngineSet>();
    const pattern::PatternError error = m_pattern->parse(alphabet, *expanded, shortest, longest);
    if (error != pattern::PatternError::kValid) {
      // The dictionary's alphabet may be the reason, so its name goes in front.
      const std::string name = error != pattern::PatternError::kNothingToMatch
                                   ? m_list.name(m_dictionary) + ": "
                                   : std::string();
      return fail(Problem::kPattern, name + std::string(messageText(messageNumber(error))));
    }
    const LengthCheck check = m_pattern->lengthCheck();
    if (check.problem != LengthProblem::kNone) {
      return fail(Problem::kPattern, std::string(messageText(messageNumber(check.problem))));
    }
    shortest = check.range.first;
    longest = check.range.last;
  }

  m_letterCount = total;
  const int wordsLeft = s.words - static_cast<int>(s.contains.size());
  // Letters that the words left cannot hold need no reading: nothing can be found.
  const bool reading = total > 0 && wordsLeft > 0 && total <= wordsLeft * kLongestEntry;
  if (!reading || !m_layout.layOut(counts)) {
    m_layout = PackedLetters();
    m_index.reset(m_layout);
    if (reading) m_letterCount = -1;  // more letters than a layout holds: nothing to find
    m_phase = Phase::kCombining;
    startCombining();
    return {};
  }
  m_index.reset(m_layout);
  m_watch = std::make_unique<DictionaryWatch>(m_list);
  AnagramWordReader::Rules rules;
  rules.shortest = shortest;
  rules.longest = std::min(longest, total);
  rules.phrases = s.phrases;
  rules.pattern = m_pattern.get();
  m_reader = std::make_unique<AnagramWordReader>(m_list, m_dictionary, m_layout, rules, m_index);
  m_phase = Phase::kReading;
  return {};
}

bool PhraseAnagramSearch::step(long work) {
  try {
    while (work > 0 && (m_phase == Phase::kReading || m_phase == Phase::kCombining)) {
      if (m_phase == Phase::kReading) {
        stepReading(work);
      } else {
        stepCombining(work);
      }
    }
  } catch (const std::bad_alloc&) {
    end(Ending::kOutOfMemory);
  }
  return m_phase == Phase::kReading || m_phase == Phase::kCombining;
}

void PhraseAnagramSearch::stepReading(long& work) {
  const bool more = m_reader->read(work);
  if (m_watch->changed(m_dictionary)) {
    m_changedPath = m_list.path(m_dictionary);
    end(Ending::kDictionaryInvalidated);
    return;
  }
  if (more) return;
  m_reader.reset();
  m_watch.reset();
  m_phase = Phase::kCombining;
  startCombining();
}

void PhraseAnagramSearch::startCombining() {
  m_index.finish();
  m_depth = -1;
  m_frames[0] = Frame();
  m_letterOrder.resize(static_cast<size_t>(m_layout.fieldCount()));
  for (int f = 0; f < m_layout.fieldCount(); ++f) m_letterOrder[static_cast<size_t>(f)] = f;
  std::stable_sort(m_letterOrder.begin(), m_letterOrder.end(), [&](int a, int b) {
    return m_index.groupsWith(a).size() < m_index.groupsWith(b).size();
  });
  const int wordsLeft = m_settings.words - static_cast<int>(m_settings.contains.size());
  if (m_letterCount == 0) {
    beginExpansion(0);  // the words to contain use every letter
  } else if (m_letterCount < 0 || wordsLeft == 0 || m_index.groupCount() == 0) {
    // nothing can use the letters left
  } else if (wordsLeft == 1) {
    std::array<uint64_t, PackedLetters::kMaxWords> key;
    m_layout.strip(m_layout.all().data(), key.data());
    m_chosen[0] = m_index.find(key.data());
    if (m_chosen[0] >= 0) beginExpansion(1);
  } else {
    Frame& root = m_frames[0];
    std::copy(m_layout.all().begin(), m_layout.all().end(), root.left.begin());
    root.letters = m_letterCount;
    root.wordsLeft = wordsLeft;
    root.field = letterToUse(root.left.data());
    m_fitting[0].resize(static_cast<size_t>(m_index.groupCount()));
    for (int g = 0; g < m_index.groupCount(); ++g) m_fitting[0][static_cast<size_t>(g)] = g;
    root.fitting = &m_fitting[0];
    root.list = &m_index.groupsWith(root.field);
    m_depth = 0;
  }
}

int PhraseAnagramSearch::letterToUse(const uint64_t* left) const {
  for (const int field : m_letterOrder) {
    if (m_layout.has(left, field)) return field;
  }
  return 0;  // not reached: nothing is asked of an empty count
}

void PhraseAnagramSearch::stepCombining(long& work) {
  while (work > 0 && m_phase == Phase::kCombining) {
    if (m_expansionPending) {
      expandNext();
      --work;
    } else if (m_depth < 0) {
      end(Ending::kComplete);
    } else {
      tryNextGroup(work);
    }
  }
}

// Each combination is built once: the words with the rarest letter first, in group order, then
// those of the rarest letter of what they leave, and so on. A letter stays the one to use until
// every word of the combination that has it is placed, so the words placed for one letter come
// in group order, and each set of groups has one order in which it can be built.
void PhraseAnagramSearch::tryNextGroup(long& work) {
  Frame& frame = m_frames[static_cast<size_t>(m_depth)];
  // Past the groups that cannot come here, in one loop: most of them.
  const std::vector<int32_t>& list = *frame.list;
  size_t place = frame.next;
  const uint64_t* key = nullptr;
  for (; place < list.size() && work > 0; ++place, --work) {
    key = m_index.key(list[place]);
    if (m_layout.has(key, frame.field) && m_layout.fits(frame.left.data(), key)) break;
  }
  frame.next = place + 1;
  if (place >= list.size()) {
    --m_depth;
    return;
  }
  if (work <= 0) {
    frame.next = place;  // not tried yet: the next step begins with it
    return;
  }
  --work;
  const int32_t group = list[place];
  m_chosen[static_cast<size_t>(m_depth)] = group;
  const int letters = frame.letters - m_index.letters(group);
  if (letters == 0) {
    beginExpansion(m_depth + 1);
    return;
  }
  // A frame always has two words or more to place, so the next word's place exists.
  Frame& child = m_frames[static_cast<size_t>(m_depth) + 1];
  m_layout.subtract(frame.left.data(), key, child.left.data());
  const int field = letterToUse(child.left.data());
  if (frame.wordsLeft == 2) {
    // The last word holds exactly the letters left; it comes after this one when it is placed
    // for the same letter.
    std::array<uint64_t, PackedLetters::kMaxWords> rest;
    m_layout.strip(child.left.data(), rest.data());
    const int last = m_index.find(rest.data());
    if (last >= 0 && (field != frame.field || last >= group)) {
      m_chosen[static_cast<size_t>(m_depth) + 1] = last;
      beginExpansion(m_depth + 2);
    }
    return;
  }
  const std::vector<int32_t>* fitting = frame.fitting;
  if (frame.wordsLeft > 3) {
    // The words after the next one come from the groups that fit what it leaves: far fewer.
    std::vector<int32_t>& kept = m_fitting[static_cast<size_t>(m_depth) + 1];
    kept.clear();
    for (const int32_t g : *frame.fitting) {
      if (m_index.letters(g) <= letters && m_layout.fits(child.left.data(), m_index.key(g))) {
        kept.push_back(g);
      }
    }
    work -= static_cast<long>(frame.fitting->size());
    fitting = &kept;
  }
  // Groups come longest first: words no longer than the first cannot use up more than this.
  if (fitting->empty() || letters > (frame.wordsLeft - 1) * m_index.letters(fitting->front())) {
    return;
  }
  child.letters = letters;
  child.wordsLeft = frame.wordsLeft - 1;
  child.field = field;
  child.fitting = fitting;
  const std::vector<int32_t>& withLetter = m_index.groupsWith(field);
  child.list = withLetter.size() < fitting->size() ? &withLetter : fitting;
  // Words placed for the same letter come in group order.
  child.next =
      field != frame.field
          ? 0
          : static_cast<size_t>(std::lower_bound(child.list->begin(), child.list->end(), group) -
                                child.list->begin());
  ++m_depth;
}

void PhraseAnagramSearch::beginExpansion(int count) {
  m_chosenCount = count;
  for (int s = 0; s < count; ++s) {
    const bool repeated = s > 0 && m_chosen[s] == m_chosen[s - 1];
    m_entries[s] = repeated ? m_entries[s - 1] : m_index.firstEntry(m_chosen[s]);
  }
  m_expansionPending = true;
}

void PhraseAnagramSearch::expandNext() {
  if (!listCombination()) return;
  // The next entries, as an odometer whose last word turns fastest; a group chosen more than
  // once gives its entries in order (each combination of entries is a set, listed once).
  for (int s = m_chosenCount - 1; s >= 0; --s) {
    const uint32_t end = m_index.firstEntry(m_chosen[s]) + m_index.entryCount(m_chosen[s]);
    if (m_entries[s] + 1 >= end) continue;
    ++m_entries[s];
    for (int t = s + 1; t < m_chosenCount; ++t) {
      m_entries[t] =
          m_chosen[t] == m_chosen[t - 1] ? m_entries[t - 1] : m_index.firstEntry(m_chosen[t]);
    }
    return;
  }
  m_expansionPending = false;
}

bool PhraseAnagramSearch::listCombination() {
  m_words.clear();
  for (const std::string& word : m_settings.contains) m_words.push_back(word);
  bool phrase = false;
  for (int s = 0; s < m_chosenCount; ++s) {
    m_words.push_back(m_index.text(m_entries[s]));
    phrase = phrase || m_words.back().find(' ') != std::string_view::npos;
  }
  std::sort(m_words.begin(), m_words.end(), dictionaryOrder);
  if (phrase && listedWordByWord()) return true;
  if (m_found >= m_settings.limit) {
    end(Ending::kLimitReached);
    return false;
  }
  ++m_found;
  if (m_sink) m_sink(m_words);
  return true;
}

bool PhraseAnagramSearch::listedWordByWord() {
  m_split.assign(m_settings.contains.begin(), m_settings.contains.end());
  for (int s = 0; s < m_chosenCount; ++s) {
    const std::string_view text = m_index.text(m_entries[s]);
    for (size_t from = 0; from <= text.size();) {
      const size_t blank = std::min(text.find(' ', from), text.size());
      const std::string_view word = text.substr(from, blank - from);
      if (!isEntry(word)) return false;
      m_split.push_back(word);
      from = blank + 1;
    }
  }
  if (m_split.size() > static_cast<size_t>(m_settings.words)) return false;
  std::sort(m_split.begin(), m_split.end(), dictionaryOrder);
  // The same line only when the words come in the same order (a phrase's own order may not be
  // the dictionary's).
  const auto line = [](const std::vector<std::string_view>& words) {
    std::string text;
    for (const std::string_view word : words) text.append(text.empty() ? "" : " ").append(word);
    return text;
  };
  return line(m_split) == line(m_words);
}

bool PhraseAnagramSearch::isEntry(std::string_view text) const {
  const Alphabet& alphabet = m_list.alphabet(m_dictionary);
  std::array<uint64_t, PackedLetters::kMaxWords> left, key;
  const std::span<const uint64_t> all = m_layout.all();
  std::copy(all.begin(), all.end(), left.begin());
  for (const char c : text) {
    const uint8_t letter = alphabet.letterIndex[static_cast<uint8_t>(c)];
    if (letter != kNotALetter && !m_layout.take(left.data(), letter)) return false;
  }
  for (size_t w = 0; w < all.size(); ++w) key[w] = all[w] - left[w];
  const int group = m_index.find(key.data());
  if (group < 0) return false;
  const uint32_t first = m_index.firstEntry(group);
  for (uint32_t e = first; e < first + m_index.entryCount(group); ++e) {
    if (m_index.text(e) == text) return true;
  }
  return false;
}

void PhraseAnagramSearch::end(Ending ending) {
  m_phase = Phase::kEnded;
  m_ending = ending;
  m_expansionPending = false;
  m_depth = -1;
  m_reader.reset();
  m_watch.reset();
}

PhraseAnagramSearch::Progress PhraseAnagramSearch::progress() const {
  Progress p;
  p.phase = m_phase;
  p.found = m_found;
  if (m_phase == Phase::kReading && m_reader) {
    p.done = m_reader->examined();
    p.total = m_reader->total();
  } else if (m_phase == Phase::kCombining && m_frames[0].wordsLeft > 0) {
    p.done = static_cast<long>(m_frames[0].next);
    p.total = static_cast<long>(m_frames[0].list->size());
  }
  return p;
}

long PhraseAnagramSearch::undecidedEntries() const {
  return m_pattern ? m_pattern->abandonedMatches() : 0;
}

std::string PhraseAnagramSearch::endingText() const {
  switch (m_ending) {
    case Ending::kComplete:
      return {};
    case Ending::kLimitReached:
      return "there are more than " + std::to_string(m_settings.limit) +
             (m_settings.limit == 1 ? " combination" : " combinations") +
             ": the search was stopped";
    case Ending::kDictionaryInvalidated:
      return "Dictionary Invalidated: " + m_changedPath + " changed while it was being read";
    case Ending::kOutOfMemory:
      return "out of memory: the search cannot be completed";
  }
  return {};
}

}  // namespace qel
