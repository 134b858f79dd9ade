// A cursor over one length section of one dictionary: reads the section's bit stream from disk in
// 16 KB blocks and decodes each entry into its display text and its letter string.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>

#include "dictionary/CurrentItem.h"
#include "dictionary/DecodedSection.h"
#include "dictionary/EntryFilter.h"
#include "dictionary/ReplayCursor.h"
#include "dictionary/SectionBitReader.h"

namespace qel {

class Dictionary;
class QCDictionaryList;

class EntryEnumerator {
 public:
  static constexpr int kTextSize = CurrentItem::kTextSize;
  static constexpr int kLettersSize = CurrentItem::kLettersSize;
  static constexpr int kBatchBudget = 2000;

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
  using AcceptedEntry = ReplayCursor::AcceptedEntry;
  static constexpr size_t kAcceptedCapacity = ReplayCursor::kAcceptedCapacity;
  // Up to `capacity` (at most kAcceptedCapacity) leading entries of a replayed section that
  // `filter` accepts (null: every entry), found in one call instead of one call each, after at
  // most kBatchBudget rejected ones. Only for a filter that accepts alike and does not read the
  // text, and without the entries' group states or references. Returns how many: 0 when the next
  // entry is for nextBatch() to give (no replay, a group end, the end of the section, damage, or
  // a filter that cannot be asked in bulk), or when the budget ran out.
  size_t nextAccepted(EntryFilter* filter, AcceptedEntry* accepted, size_t capacity);
  // The words of the next leading entries of a replayed section, as lines for a caller that wants
  // every entry (see ReplayCursor::takeWordLines); `out` moves past what was written. Returns how
  // many; 0 when the next entry is for nextBatch() or nextAccepted() to give.
  static constexpr size_t kLineRoom = ReplayCursor::kLineRoom;
  size_t nextWordLines(char*& out, size_t room, bool wordsOnly);

  // Section `length` of `dictionary` decoded to the end of its first group (the entries a word
  // search visits), whatever the budget; null for an empty or unreadable section.
  static std::shared_ptr<const DecodedSection> decodeSection(Dictionary& dictionary, int length);

  int length() const { return m_length; }
  // The item's word as displayed (NUL-terminated), then its annotation lines, then an empty string.
  const char* text() const { return m_item.text; }
  std::string_view word() const { return std::string_view(m_item.text, m_item.wordSize); }
  // The annotation of the current item, or null when it has none.
  const char* annotation() const;
  std::optional<int> referenceNumber() const;
  int groupState() const { return m_item.groupState; }
  int entriesScanned() const { return m_entriesScanned; }
  const uint8_t* letters() const { return m_item.letters; }
  bool hasOpenFile() const { return m_reader.hasOpenFile(); }
  // True while the section comes from the dictionary's decoded copy instead of the file.
  bool replaying() const { return m_replay.active(); }
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
  const uint8_t* damagedStream();
  const uint8_t* replayItem();
  // The recording of a section as it is decoded, for replay.
  void recordItem(int letterCount, int textSize, bool groupEnd);
  void keepRecording(bool complete);
  bool startRecordedSection(int length);
  // Leaves the replay for the file, at the same item of the section.
  const uint8_t* decodeFromFileAt(size_t item);
  // Positions at the start of the section in the file.
  bool startSection(int length);

  Dictionary& m_dictionary;
  int m_entriesScanned = 0;
  int m_length = 0;
  bool m_ended = true;            // the section can yield nothing more
  bool m_replayAccepted = false;  // the filter accepted the next replayed item already
  std::shared_ptr<SectionRecording> m_recording;  // while a whole section is decoded from its start
  bool m_recordAlways = false;  // recording for decodeSection(), not for the dictionary
  std::shared_ptr<const DecodedSection> m_recorded;
  CurrentItem m_item;
  ReplayCursor m_replay;
  SectionBitReader m_reader;
};

}  // namespace qel
