// Reading and emission of an anagram part: three passes over its text (sub-patterns, choice
// lists, the rest), so that errors come in that order, then the items in a fixed order.
#include <algorithm>
#include <array>

#include "pattern/PatternCompiler.h"
#include "pattern/PatternErrors.h"
#include "pattern/PatternLimits.h"
#include "pattern/ProgramCodes.h"

namespace qel::pattern {

using namespace code;
using enum PatternError;

namespace {

struct ItemUse {
  int set = 0;  // letter-set index
  int occurrences = 0;
  int fixed = 0;
  int extra = 0;
};

void countUse(std::vector<ItemUse>& uses, int set, int fixed, int extra) {
  for (ItemUse& use : uses) {
    if (use.set == set) {
      ++use.occurrences;
      return;
    }
  }
  uses.push_back({set, 1, fixed, extra});
}

void putU32(Bytes& out, uint32_t value) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

}  // namespace

void PatternCompiler::compileAnagram(Bytes& out, int templateExtra, AnagramInfo& info, int depth) {
  const size_t start = m_pos;
  std::vector<ItemUse> subPatterns;
  std::vector<ItemUse> choiceLists;
  // skip[i - start] > 0: a sub-pattern or choice list spans from i up to (not including) it.
  std::vector<size_t> skip;

  // Pass 1: sub-patterns, each compiled into its own program in the letter-set table.
  size_t i = start;
  for (;;) {
    if (i >= m_text.size()) {
      fail(kSubPatternUnfinished);
      return;
    }
    const uint8_t c = m_text[i];
    if (c == '\\') {
      if (i + 1 >= m_patternEnd) {
        fail(kBackslashAtEnd);
        return;
      }
      i += 2;
    } else if (c == ';') {
      fail(kSecondSemicolon);
      return;
    } else if (c == ')') {
      break;
    } else if (c == '(') {
      m_pos = i + 1;
      Bytes sub;
      const BodyInfo body = compileBody(sub, depth + 1);
      if (failed()) return;
      const int set = addLetterSet(sub);
      if (set < 0) {
        fail(kTooManyLetterSets);
        return;
      }
      countUse(subPatterns, set, body.fixed, body.extra);
      m_nestedAnagram = true;
      if (skip.size() < m_pos - start) skip.resize(m_pos - start, 0);
      skip[i - start] = m_pos;
      i = m_pos;
    } else {
      ++i;
    }
  }
  const size_t end = i;
  skip.resize(end - start, 0);

  // Pass 2: choice lists, each a membership map in the letter-set table.
  for (i = start; i < end;) {
    if (skip[i - start]) {
      i = skip[i - start];
      continue;
    }
    const uint8_t c = m_text[i];
    if (c == '\\') {
      i += 2;
    } else if (c == ']') {
      fail(kStrayCloseSquare);
      return;
    } else if (c == '[') {
      m_pos = i + 1;
      std::vector<uint8_t> letters;
      bool negated = false;
      if (!readChoiceList(letters, negated)) return;
      Bytes map(256, 0);
      if (negated) {
        for (int k = 0; k < std::min(m_alphabet.total, 256); ++k) map[k] = 1;
      }
      for (uint8_t letter : letters) map[letter] = negated ? 0 : 1;
      const int set = addLetterSet(map);
      if (set < 0) {
        fail(kTooManyLetterSets);
        return;
      }
      countUse(choiceLists, set, 1, 0);
      skip[i - start] = m_pos;
      i = m_pos;
    } else {
      ++i;
    }
  }

  // Pass 3: letters, match-alls, variables, "*" and spaces; anything else is an error.
  std::array<int, 256> letterCounts{};
  std::array<int, kVariableCount> variableCounts{};
  int matchAlls = 0;
  bool openEnded = false;
  for (i = start; i < end;) {
    if (skip[i - start]) {
      i = skip[i - start];
      continue;
    }
    const uint8_t c = m_text[i];
    if (c == '\\') {
      const uint8_t x = m_text[i + 1];
      if (!isLetter(x)) {
        fail(kAnagramBadCharacter);
        return;
      }
      ++letterCounts[m_alphabet.letterIndex[x]];
      i += 2;
      continue;
    }
    if (c == '*') {
      openEnded = true;
    } else if (c >= '0' && c <= '9') {
      ++variableCounts[c - '0'];
      m_variables = true;
    } else if (c == ' ') {
    } else if (c == '.' || c == '?') {
      ++matchAlls;
      ++m_codeCount;  // a match-all keeps the general matcher
    } else if (isLetter(c)) {
      ++letterCounts[m_alphabet.letterIndex[c]];
    } else {
      fail(kAnagramBadCharacter);
      return;
    }
    ++i;
  }
  m_pos = end;

  // Every element takes one position, except a sub-pattern, which takes its fixed length.
  int elements = matchAlls;
  int positions = matchAlls;
  long extra = 0;
  for (const ItemUse& use : subPatterns) {
    elements += use.occurrences;
    positions += use.fixed * use.occurrences;
    extra += static_cast<long>(use.extra) * use.occurrences;
  }
  int single = 0;
  for (const ItemUse& use : choiceLists) single += use.occurrences;
  for (int n : variableCounts) single += n;
  for (int n : letterCounts) single += n;
  elements += single;
  positions += single;
  if (elements > kMaxAnagramElements) {
    fail(kTooLong);
    return;
  }

  note(out, ElementKind::Anagram, out.size());
  out.push_back(kAnagram);
  out.push_back(static_cast<uint8_t>(std::clamp(m_alphabet.total, 0, 255)));
  putU32(out, static_cast<uint32_t>(positions));

  auto bySet = [](const ItemUse& a, const ItemUse& b) { return a.set < b.set; };
  std::sort(subPatterns.begin(), subPatterns.end(), bySet);
  std::sort(choiceLists.begin(), choiceLists.end(), bySet);
  int lastVariableItem = -1;
  if (!openEnded && templateExtra == 0) {
    for (size_t k = 0; k < subPatterns.size(); ++k) {
      if (subPatterns[k].extra > 0) lastVariableItem = static_cast<int>(k);
    }
  }
  for (size_t k = 0; k < subPatterns.size(); ++k) {
    const bool last = static_cast<int>(k) == lastVariableItem;
    emitCode(out, last ? kLastVariableSubPattern : kVariableSubPattern);
    out.push_back(static_cast<uint8_t>(subPatterns[k].occurrences));
    out.push_back(static_cast<uint8_t>(subPatterns[k].set));
  }
  for (const ItemUse& use : choiceLists) {
    emitCode(out, kChoiceItem);
    out.push_back(static_cast<uint8_t>(use.occurrences));
    out.push_back(static_cast<uint8_t>(use.set));
  }
  if (std::any_of(variableCounts.begin(), variableCounts.end(), [](int n) { return n > 0; })) {
    emitCode(out, kVariablesItem);
    for (int n : variableCounts) out.push_back(static_cast<uint8_t>(n));
  }
  const bool repeated =
      std::any_of(letterCounts.begin(), letterCounts.end(), [](int n) { return n > 1; });
  const int distinct = static_cast<int>(
      std::count_if(letterCounts.begin(), letterCounts.end(), [](int n) { return n > 0; }));
  if (repeated) {
    emitCode(out, kLettersCounted);
    for (int letter = 0; letter < 256; ++letter) {
      if (letterCounts[letter] == 0) continue;
      out.push_back(static_cast<uint8_t>(letterCounts[letter]));
      out.push_back(static_cast<uint8_t>(letter));
    }
  } else if (distinct > 0) {
    emitCode(out, kLettersOnce);
    out.push_back(static_cast<uint8_t>(distinct));
    for (int letter = 0; letter < 256; ++letter) {
      if (letterCounts[letter] > 0) out.push_back(static_cast<uint8_t>(letter));
    }
  }
  info.positions = positions;
  info.extra =
      openEnded ? kUnboundedExtra : static_cast<int>(std::min<long>(extra, kUnboundedExtra));
}

}  // namespace qel::pattern
