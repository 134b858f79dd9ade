// A cursor over a length section kept decoded (DecodedSection), which gives its items as decoding
// the file would, tests entries against a filter where they lie, and hands leading entries out in
// bulk. A section from a side file may be damaged: each item is checked against the section's
// bounds, and the letters a chunk at a time, before anything is read from them. Where an item does
// not fit, the section is told and the file takes over from the same item.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>

#include "dictionary/AcceptedAhead.h"
#include "dictionary/CurrentItem.h"
#include "dictionary/DecodedSection.h"

namespace qel {

class EntryFilter;

class ReplayCursor {
 public:
  // Entries whose letters are checked at a time, when they come from a side file.
  static constexpr size_t kLetterCheckChunk = 4096;

  // An entry handed out in bulk, valid until the cursor is next asked for entries.
  struct AcceptedEntry {
    std::string_view word;
    std::string_view annotation;  // its first line; empty when the entry has none
  };
  static constexpr size_t kAcceptedCapacity = 64;

  // Replays `section` (null: none) from its first item. Its entries have `length` letters; letter
  // 0 is spelled by the character `spellBase`.
  void start(std::shared_ptr<const DecodedSection> section, int length, uint8_t spellBase);
  // Ends the replay: the file gives the rest.
  void stop() {
    m_section.reset();
    m_ahead.reset();
  }
  bool active() const { return m_section != nullptr; }
  // The entry or group end to be given next.
  size_t position() const { return m_next; }

  enum class Step {
    kItem,    // the next item is in `item`
    kEnd,     // the whole section was replayed
    kToFile,  // past the part kept, or at damage: the file goes on from position()
  };
  Step next(CurrentItem& item);
  // Moves past entries that `filter` rejects, at most `budget`; returns how many. `accepted` is
  // set when it stopped at an entry that `filter` accepted, which next() gives. An entry spelled
  // out is spelled into `spelled` (room for CurrentItem::kLettersSize bytes), which holds nothing
  // yet.
  int skipRejected(EntryFilter& filter, int budget, char* spelled, bool& accepted);
  // Up to `capacity` (at most kAcceptedCapacity) leading entries that `filter` accepts (null:
  // every entry), after at most `budget` rejected ones; returns how many. Stops before damage,
  // which next() then meets at the same entry.
  size_t takeAccepted(EntryFilter* filter, AcceptedEntry* accepted, size_t capacity, int budget);
  // Writes the words of the leading entries from position() on as lines, each in UTF-8 and ended
  // by a newline, into `out` until less than kLineRoom of `room` is left; returns how many. With
  // `wordsOnly` false, stops before an entry that has more text than its word. Stops before
  // damage, which next() then meets at the same entry. `ascii`: the entries spelled out by their
  // letters are ASCII (spellsAscii()).
  static constexpr size_t kLineRoom = 3 * CurrentItem::kTextSize + 1;
  size_t takeWordLines(char*& out, size_t room, bool wordsOnly, bool ascii);

 private:
  // Checks the letters up to byte `end` at least; false when they are unsound.
  bool lettersCheckedTo(size_t end) { return end <= m_lettersChecked || checkLettersTo(end); }
  bool checkLettersTo(size_t end);
  // The item of the entry or group end at `position` lies inside the section where it should, and
  // its letters are checked.
  bool itemSound(const DecodedItem& item, size_t position);
  // Writes into `text` the text of the entry spelled out whose letters start at byte `at`.
  void spellOut(size_t at, char* text) const;
  // The text of the entry at `position`, whose place gave item `index`: spelled out into `spelled`
  // (room for kLettersSize bytes), or where the section keeps it. Null when the section is damaged
  // there.
  const char* replayedText(size_t position, size_t index, char* spelled);
  // The next leading entries from position() on that `filter` accepts, as the look-ahead finds
  // them; nothing when the letters to scan are unsound.
  std::optional<AcceptedAhead::Found> scanAhead(EntryFilter& filter);

  std::shared_ptr<const DecodedSection> m_section;
  int m_length = 0;
  size_t m_next = 0;
  AcceptedAhead m_ahead;
  DecodedSection::Cursor m_cursor;
  uint8_t m_spellBase = 0;  // the character of letter 0, which spellOut() adds to each letter
  // Bytes of the letters known to be sound (SIZE_MAX: all of them), and whether the chunk after
  // them was found unsound.
  size_t m_lettersChecked = SIZE_MAX;
  bool m_lettersUnsound = false;
  char m_spelled[kAcceptedCapacity][CurrentItem::kLettersSize];  // what takeAccepted() spelled out
};

}  // namespace qel
