// Phrase anagrams: every combination of up to a few entries of one dictionary whose letters
// together are exactly the letters given ("dormitory" -> "dirty room"). The search reads the
// dictionary once for the entries whose letters lie in the given ones and groups them by their
// letters. It then builds combinations of groups a word at a time: each word is one of the words
// that have the rarest letter still left (some word must use it up), its letters taken out of
// what is left, and the last word is one look-up. It runs in steps of bounded work, so that a
// window can show progress between them, stop and resume; it stops at a limit of combinations
// and says so.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "search/AnagramWordIndex.h"
#include "search/PackedLetters.h"
#include "search/PhraseAnagramSettings.h"

namespace qel {

class AnagramWordReader;
class DictionaryWatch;
class MatchEngineSet;
class QCDictionaryList;

class PhraseAnagramSearch {
 public:
  // Work of one step() unless told otherwise: well under a millisecond.
  static constexpr long kStepWork = 20'000;

  // Why start() did not start a search. kNotInLetters finds nothing (the words to contain are not
  // all in the letters); the others are mistakes in what was asked.
  enum class Problem {
    kNone,
    kInvalidDictionary,
    kOutOfRange,        // a setting outside its bounds
    kNoLetters,         // the letters hold no letter of the dictionary's alphabet
    kContainedEmpty,    // a word to contain holds no letter
    kTooManyContained,  // more words to contain than words allowed
    kNotInLetters,
    kPattern,  // the pattern has an error, or no length it can match
  };
  struct Validation {
    Problem problem = Problem::kNone;
    // What the user is told (code page 1252), to follow a name ("qel-cli anagrams: "); empty
    // for kNone. A pattern's error is in the search's words, the dictionary's name in front.
    std::string text;
  };

  enum class Phase { kIdle, kReading, kCombining, kEnded };
  // How an ended search ended.
  enum class Ending { kComplete, kLimitReached, kDictionaryInvalidated, kOutOfMemory };

  // For a progress bar: while reading, the dictionary's entries read of those to read; while
  // combining, the first words tried of those to try.
  struct Progress {
    Phase phase = Phase::kIdle;
    long done = 0;
    long total = 0;
    long found = 0;
  };

  // Each combination's words, in code page 1252, in the dictionary's order (by folded letters,
  // then byte by byte); valid during the call.
  using Sink = std::function<void(std::span<const std::string_view> words)>;

  // Searches dictionary `dictionary` of `list`, which must outlive the search.
  PhraseAnagramSearch(QCDictionaryList& list, int dictionary);
  ~PhraseAnagramSearch();
  PhraseAnagramSearch(const PhraseAnagramSearch&) = delete;
  PhraseAnagramSearch& operator=(const PhraseAnagramSearch&) = delete;

  void setSink(Sink sink) { m_sink = std::move(sink); }

  // Checks what is asked and prepares a search of the `letters` (code page 1252; characters that
  // are not letters of the dictionary, such as blanks and punctuation, do not count). Abandons a
  // search under way. The search itself runs in step().
  Validation start(std::string_view letters, const PhraseAnagramSettings& settings);
  // Runs on for about `work` units (an entry read, a word tried, a combination listed) and
  // returns whether there is more to do. Stopping is not calling it; resuming is calling it again.
  bool step(long work = kStepWork);

  Phase phase() const { return m_phase; }
  Ending ending() const { return m_ending; }
  Progress progress() const;
  long found() const { return m_found; }
  // Entries the pattern gave up on as too much work for one entry (left out): the user must be
  // told, in SearchSession::undecidedText's words.
  long undecidedEntries() const;
  // The path of the dictionary when it changed while it was read (Ending kDictionaryInvalidated).
  const std::string& changedPath() const { return m_changedPath; }
  // What the user is told of an ending other than kComplete, to follow a name as above.
  std::string endingText() const;

 private:
  // One word's place in the combination being built: the letters left before it, how many words
  // may still come, and the letter the word must have. Its group comes from `list`, from place
  // `next` on: the groups with that letter, or `fitting` where that is shorter, which holds every
  // group that fits the letters left (and perhaps more), in group order.
  struct Frame {
    std::array<uint64_t, PackedLetters::kMaxWords> left{};
    int letters = 0;
    int wordsLeft = 0;
    int field = 0;
    const std::vector<int32_t>* list = nullptr;
    const std::vector<int32_t>* fitting = nullptr;
    size_t next = 0;
  };

  Validation fail(Problem problem, std::string text);
  void stepReading(long& work);
  void startCombining();
  void stepCombining(long& work);
  // Tries the group at the top frame's next place.
  void tryNextGroup(long& work);
  // The letter the next word must have: the rarest of those left, so that few words qualify.
  int letterToUse(const uint64_t* left) const;
  // The combination is groups m_chosen[0 .. count - 1]: lists its entries' combinations.
  void beginExpansion(int count);
  // Lists the pending combination of entries and moves on to the next of the chosen groups.
  void expandNext();
  // Hands one combination to the sink; false, ending the search, at the limit.
  bool listCombination();
  // Whether the combination, which holds a phrase, prints the same line as the combination of
  // its phrases' words taken one by one, which the search lists too: the line is listed once.
  bool listedWordByWord();
  // Whether `text` is an entry the search may use.
  bool isEntry(std::string_view text) const;
  void end(Ending ending);

  QCDictionaryList& m_list;
  int m_dictionary;
  Sink m_sink;
  PhraseAnagramSettings m_settings;
  Phase m_phase = Phase::kIdle;
  Ending m_ending = Ending::kComplete;
  long m_found = 0;
  std::string m_changedPath;

  PackedLetters m_layout;  // of the letters left once the words to contain are taken out
  int m_letterCount = 0;   // letters of the layout
  std::unique_ptr<MatchEngineSet> m_pattern;
  std::unique_ptr<DictionaryWatch> m_watch;
  std::unique_ptr<AnagramWordReader> m_reader;
  AnagramWordIndex m_index;

  // The combinations of groups: one frame per word placed but the last, and the groups that fit
  // what a frame leaves, made for the frames that have three words or more to place.
  std::array<Frame, PhraseAnagramSettings::kMaxWords> m_frames;
  std::array<std::vector<int32_t>, PhraseAnagramSettings::kMaxWords> m_fitting;
  int m_depth = -1;                // the top frame, -1 once every combination was tried
  std::vector<int> m_letterOrder;  // the layout's letters, those that fewest groups have first
  std::array<int32_t, PhraseAnagramSettings::kMaxWords> m_chosen{};
  // The entries of the chosen groups, one per word, m_chosenCount of them: the combination to
  // list next while m_expansionPending.
  std::array<uint32_t, PhraseAnagramSettings::kMaxWords> m_entries{};
  int m_chosenCount = 0;
  bool m_expansionPending = false;
  std::vector<std::string_view> m_words;  // of the combination handed to the sink
  std::vector<std::string_view> m_split;  // its words with each phrase taken word by word
};

}  // namespace qel
