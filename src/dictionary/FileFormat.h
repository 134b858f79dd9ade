// Constants and header offsets of the dictionary file format ("qcd"), shared by reader and builder.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qel::format {

inline constexpr char kTagVersion0[4] = {'Q', 'C', 'D', '0'};
inline constexpr char kTagVersion1[4] = {'Q', 'C', 'D', '1'};
inline constexpr char kPlaceholderTag[4] = {' ', ' ', ' ', ' '};

inline constexpr int kMaxSlots = 32;  // length slots 0..31; the greatest entry length is 31
inline constexpr int kMaxEntryLength = kMaxSlots - 1;
inline constexpr size_t kDescriptionSize = 1000;  // version 1
inline constexpr size_t kDescriptionSizeV0 = 80;
inline constexpr size_t kSymbolRecordSize = 8;
inline constexpr int kSymbolCount = 256;

inline constexpr uint8_t kEndOfEntrySymbol = 0;
inline constexpr uint8_t kAnnotationSymbol = 10;

// Reference values: the top bit marks the last value of a group or list; a word whose occurrences
// were too common to list carries kNotListed.
inline constexpr uint32_t kLastValueBit = 0x80000000u;
inline constexpr uint32_t kValueMask = 0x7FFFFFFFu;
inline constexpr uint32_t kNotListed = 0x7FFFFFFFu;

// Every byte of a definition record's strings, its NUL included, is stored XORed with this.
inline constexpr uint8_t kDefinitionMask = 0xA5;

// Version 1 header layout for a file with n length slots.
inline constexpr size_t kOffsetSlotCount = 4;
inline constexpr size_t kOffsetRegion1 = 6;
inline constexpr size_t kOffsetRegion2 = 10;
inline constexpr size_t kOffsetDefinitionsEnd = 14;
inline constexpr size_t indexTableOffsetAt(int /*n*/) { return 18; }
inline constexpr size_t entryReferenceOffsetAt(int n) { return 18 + 4 * static_cast<size_t>(n); }
inline constexpr size_t entryReferenceCountAt(int n) { return 18 + 8 * static_cast<size_t>(n); }
inline constexpr size_t sectionOffsetAt(int n) { return 18 + 12 * static_cast<size_t>(n); }
inline constexpr size_t entryCountAt(int n) { return 18 + 16 * static_cast<size_t>(n); }
inline constexpr size_t descriptionAt(int n) { return 18 + 20 * static_cast<size_t>(n); }
inline constexpr size_t alphabetSizesAt(int n) { return 1018 + 20 * static_cast<size_t>(n); }
inline constexpr size_t symbolRecordsAt(int n) { return 1022 + 20 * static_cast<size_t>(n); }
inline constexpr size_t scoreBlockCountAt(int n) { return 3070 + 20 * static_cast<size_t>(n); }

inline constexpr int scoreBlockCount(int n) { return n * (n - 1) / 2; }
inline constexpr int8_t kNoScore = -128;

}  // namespace qel::format
