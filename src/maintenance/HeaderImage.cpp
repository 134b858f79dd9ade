#include "maintenance/HeaderImage.h"

#include <algorithm>

#include "dictionary/ByteOrder.h"

namespace qel::build {

std::string headerTables(const HeaderTables& h) {
  std::string out;
  putU16(out, static_cast<uint16_t>(h.slots));
  putU32(out, h.region1Start);
  putU32(out, h.region2Start);
  putU32(out, h.definitionsEnd);
  for (const auto* table : {&h.indexTable, &h.entryReference, &h.entryReferenceCount, &h.section}) {
    for (int length = 0; length < h.slots; ++length) putU32(out, (*table)[length]);
  }
  return out;
}

std::string headerImage(const BuildState& state, const std::vector<int8_t>& scores) {
  const HeaderTables& h = state.header;
  std::string out(format::kPlaceholderTag, 4);
  out += headerTables(h);
  for (int length = 0; length < h.slots; ++length) putU32(out, h.entryCount[length]);

  std::string description = state.parameters.description.substr(
      0, std::min(state.parameters.description.find('\0'), format::kDescriptionSize - 1));
  description.resize(format::kDescriptionSize, '\0');
  out += description;

  const BuildAlphabet& a = state.alphabet;
  putU16(out, static_cast<uint16_t>(a.active));
  putU16(out, static_cast<uint16_t>(a.total));
  for (int i = 0; i < format::kSymbolCount; ++i) {
    const SymbolCode& code = state.code.symbols[i];
    out.push_back(static_cast<char>(a.canonical[i]));
    out.push_back(static_cast<char>(code.length));
    putU16(out, static_cast<uint16_t>(a.letterIndex[i]));
    putU32(out, code.code);
  }
  putU16(out, static_cast<uint16_t>(format::scoreBlockCount(h.slots)));
  out.append(reinterpret_cast<const char*>(scores.data()), scores.size());
  return out;
}

}  // namespace qel::build
