// Byte codes of a compiled pattern program. Bytes 240..255 are codes; operands follow each code.
// A pattern is compiled as one sub-pattern body: header, template sequence, optional anagram part,
// end. Sequences nest (wildcard continuations, sub-pattern bodies) and each ends with kEnd.
#pragma once

#include <cstdint>

namespace qel::pattern::code {

// n positions, m pairs, then m pairs (position in run, letter index): a run of letter positions;
// match-alls take a position and store nothing.
inline constexpr uint8_t kRun = 240;
// n positions, m items: (position, letter), (kItemChoice + position, k, k letters),
// (kItemNegatedChoice + position, k, k letters), (kItemVariable + position, variable 0..9).
inline constexpr uint8_t kMixedRun = 241;
// Fixed length of the continuation (informational); the continuation follows, ending with kEnd.
inline constexpr uint8_t kWildcard = 242;
// As kWildcard; the last variable-length element of its body: takes all the extra.
inline constexpr uint8_t kLastWildcard = 243;
// Alphabet size, position count (4 bytes little-endian), then the items; the body's kEnd closes it.
inline constexpr uint8_t kAnagram = 244;
// m, then m distinct letter indices, each wanted once.
inline constexpr uint8_t kLettersOnce = 245;
// Pairs (occurrences, letter index) up to the next code.
inline constexpr uint8_t kLettersCounted = 246;
// Occurrences, letter-set index of a membership map.
inline constexpr uint8_t kChoiceItem = 247;
// Ten occurrence counts, one per variable 0..9.
inline constexpr uint8_t kVariablesItem = 248;
// Fixed length, capped extra; the body follows (template sequence, optional anagram part, kEnd).
inline constexpr uint8_t kSubPattern = 249;
// As kSubPattern with extra above 0; its continuation follows the body. Inside an anagram part:
// an item (occurrences, letter-set index of the sub-pattern's program).
inline constexpr uint8_t kVariableSubPattern = 250;
// As kVariableSubPattern; the last variable-length element: takes all the extra.
inline constexpr uint8_t kLastVariableSubPattern = 251;
// Ends a sequence or a body.
inline constexpr uint8_t kEnd = 252;
// Once, at the very end.
inline constexpr uint8_t kEndOfProgram = 253;
// The character (a byte of the text): the entry's own character at the next letter must be it.
inline constexpr uint8_t kExactCharacter = 254;
// The character: the entry must have it here between its letters. Character 0 is the end check.
inline constexpr uint8_t kPunctuation = 255;

// Item tags of a mixed run; the low six bits hold the position in the run.
inline constexpr uint8_t kItemLetter = 0;
inline constexpr uint8_t kItemChoice = 64;
inline constexpr uint8_t kItemVariable = 128;
inline constexpr uint8_t kItemNegatedChoice = 192;
inline constexpr uint8_t kItemTagMask = 192;
inline constexpr uint8_t kItemPositionMask = 63;

inline constexpr int kHeaderSize = 3;         // code, fixed length, capped extra
inline constexpr int kAnagramHeaderSize = 6;  // code, alphabet size, 4-byte position count

inline bool isCode(uint8_t b) { return b >= 240; }

}  // namespace qel::pattern::code
