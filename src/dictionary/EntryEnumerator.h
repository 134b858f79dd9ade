// A cursor over one length section of one dictionary: reads the section's bit stream from disk in
// 16 KB blocks and decodes each entry into its display text and its letter string.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string_view>

#include "dictionary/AcceptedAhead.h"
#include "dictionary/DecodedSection.h"
#include "dictionary/EntryFilter.h"
#include "dictionary/SectionBitReader.h"

namespace qel {

class Dictionary;
class QCDictionaryList;

class EntryEnumerator {
 public:
  static constexpr int kTextSize = 900;
  static constexpr int kLettersSize = 100;
  static constexpr int kBatchBudget = 2000;
  // Entries whose letters replay checks at a time, when they come from a side file.
  static constexpr size_t kLetterCheckChunk = 4096;

  EntryEnumerator(const QCDictionaryList& list, int dictionaryNumber);
  explicit EntryEnumerator(Dictionary& dictionary);
  ~EntryEnumerator();
  EntryEnumerator(const EntryEnumerator&) = delete;
  EntryEnumerator& operator=(const EntryEnumerator&) = delete;

  // Positions at the start of section `length`; false for an empty or unreadable section, a length
  // outside 1..N-1 or an invalid dictionary. The dictionary is not read again here: a caller
  // checks it (recheck) before it starts to enumerate.
  bool selectLength(int length);

  // Decodes items until one that `filter` accepts (null: every item). Returns the letter string;
  // a first byte of 0xFF means a group end or the end of the stream.
  const uint8_t* next(EntryFilter* filter);
  // Like next, but gives up after kBatchBudget rejected items, or after a rejected item once the
  // filter is halted(), and then returns null.
  const uint8_t* nextBatch(EntryFilter* filter);

  // An entry handed out in bulk, valid until the enumerator is next asked for entries.
  struct AcceptedEntry {
    std::string_view word;
    std::string_view annotation;  // its first line; empty when the entry has none
  };
  static constexpr size_t kAcceptedCapacity = 64;
  // Up to `capacity` (at most kAcceptedCapacity) leading entries of a replayed section that
  // `filter` accepts (null: every entry), found in one call instead of one call each, after at
  // most kBatchBudget rejected ones. Only for a filter that accepts alike and does not read the
  // text, and without the entries' group states or references. Returns how many: 0 when the next
  // entry is for nextBatch() to give (no replay, a group end, the end of the section, damage, or
  // a filter that cannot be asked in bulk), or when the budget ran out.
  size_t nextAccepted(EntryFilter* filter, AcceptedEntry* accepted, size_t capacity);

  // Section `length` of `dictionary` decoded to the end of its first group (the entries a word
  // search visits), whatever the budget; null for an empty or unreadable section.
  static std::shared_ptr<const DecodedSection> decodeSection(Dictionary& dictionary, int length);

  int length() const { return m_length; }
  // The item's word as displayed (NUL-terminated), then its annotation lines, then an empty string.
  const char* text() const { return m_text; }
  std::string_view word() const { return std::string_view(m_text, m_wordSize); }
  // The annotation of the current item, or null when it has none.
  const char* annotation() const;
  std::optional<int> referenceNumber() const;
  int groupState() const { return m_groupState; }
  int entriesScanned() const { return m_entriesScanned; }
  const uint8_t* letters() const { return m_letters; }
  bool hasOpenFile() const { return m_reader.hasOpenFile(); }
  // True while the section comes from the dictionary's decoded copy instead of the file.
  bool replaying() const { return m_replay != nullptr; }
  // True when the file changed under the enumeration (replaced, rewritten, cut short) or the
  // dictionary was read again since selectLength: the items given may be mixed or partial, and
  // the enumeration ended where it found out. The dictionary is then invalidated() too, unless it
  // was read again.
  bool invalidated() const { return m_reader.invalidated(); }

 private:
  // Whether the dictionary was read again since the section was selected: the codes in hand are
  // the old file's.
  bool readAgain() const;
  const uint8_t* decodeItem();
  const uint8_t* endOfStream();
  // Replay of a decoded section, and the recording of one as it is decoded.
  const uint8_t* replayItem();
  void recordItem(int letterCount, int textSize, bool groupEnd);
  void keepRecording(bool complete);
  bool startRecordedSection(int length);
  // Checks the replayed section's letters up to byte `end` at least; false when they are unsound.
  bool lettersCheckedTo(size_t end) { return end <= m_lettersChecked || checkLettersTo(end); }
  bool checkLettersTo(size_t end);
  // The item of the entry or group end at `position` lies inside the section where it should, and
  // its letters are checked.
  bool itemSound(const DecodedItem& item, size_t position);
  // Writes into `text` the text of the entry spelled out whose letters start at byte `at` of the
  // replayed section's.
  void spellOut(size_t at, char* text) const;
  // The text of the replayed entry at `position`, whose place gave item `index`: spelled out into
  // `spelled` (room for kLettersSize bytes), or where the section keeps it. Null when the
  // section is damaged there.
  const char* replayedText(size_t position, size_t index, char* spelled);
  // Tells the replayed section it is damaged, and goes on from the file at the same item.
  const uint8_t* leaveDamagedReplay();
  // Leaves the replay for the file, at the same item of the section.
  const uint8_t* decodeFromFileAt(size_t item);
  // The next leading entries from the replay's on that `filter` accepts, as the look-ahead finds
  // them; nothing when the letters to scan are unsound.
  std::optional<AcceptedAhead::Found> scanAhead(EntryFilter& filter);
  // Moves past replayed entries that `filter` rejects, at most `budget`; returns how many.
  int skipRejectedReplayItems(EntryFilter& filter, int budget);
  // Positions at the start of the section in the file.
  bool startSection(int length);

  Dictionary& m_dictionary;
  int m_entriesScanned = 0;
  int m_length = 0;
  int m_groupState = 0;
  int m_referenceFlag = 0;
  int m_referenceCounter = 0;
  bool m_ended = true;  // the section can yield nothing more
  int m_wordSize = 0;   // bytes of the current item's word, before its annotation

  std::shared_ptr<const DecodedSection> m_replay;
  size_t m_replayNext = 0;
  bool m_replayAccepted = false;  // the filter accepted the next replayed item already
  AcceptedAhead m_ahead;
  DecodedSection::Cursor m_cursor;
  uint8_t m_spellBase = 0;  // the character of letter 0, which spellOut() adds to each letter
  // Bytes of the replayed letters known to be sound (SIZE_MAX: all of them), and whether the chunk
  // after them was found unsound.
  size_t m_lettersChecked = SIZE_MAX;
  bool m_lettersUnsound = false;
  std::shared_ptr<SectionRecording> m_recording;  // while a whole section is decoded from its start
  bool m_recordAlways = false;  // recording for decodeSection(), not for the dictionary
  std::shared_ptr<const DecodedSection> m_recorded;

  uint8_t m_letters[kLettersSize];
  char m_spelled[kAcceptedCapacity][kLettersSize];  // the words nextAccepted() spelled out
  char m_text[kTextSize];
  SectionBitReader m_reader;
};

}  // namespace qel
