// Evaluation of a set's operation list. There is no precedence: an operator applies to the
// result so far and to the rest of its group, so a & b | c is a & (b | c). Once the result of a
// group is known, the rest of the group is skipped.
#include "pattern/MatchEngineSet.h"
#include "pattern/PatternLimits.h"
#include "pattern/PatternSplitter.h"

namespace qel {

using namespace pattern;

bool MatchEngineSet::slotResult(Mode mode, size_t slot, int length, const MatchSubject* subject,
                                const std::vector<uint8_t>* marked) const {
  const MatchEngine& engine = *m_engines[slot];
  switch (mode) {
    case Mode::LengthOnly:
      return engine.acceptsLength(length);
    case Mode::Gathered:
      return (*marked)[slot] != 0;
    case Mode::Full:
      return engine.acceptsLength(length) &&
             engine.match(subject->letters, subject->text, m_scratch);
  }
  return false;
}

// Length-only mode asks whether an entry of the length could match: a pattern could when the
// length is in its range, a negated pattern or group always could (out of its range a pattern is
// false, so its negation is true).
bool MatchEngineSet::evaluate(Mode mode, int length, const MatchSubject* subject,
                              const std::vector<uint8_t>* marked) const {
  const bool lengthOnly = mode == Mode::LengthOnly;
  auto closeGroup = [lengthOnly](uint8_t opener, bool value) {
    if (!(opener & kNegate)) return value;
    return lengthOnly || !value;
  };
  std::vector<uint8_t> groups;  // the openers of the groups we are in
  groups.reserve(kMaxGroupDepth + 1);
  bool result = false;
  size_t i = 0;
  while (i < m_operations.size()) {
    uint8_t op = m_operations[i];
    if ((op & kOperationMask) == kGroupOpen) {
      groups.push_back(op);
      ++i;
      continue;
    }
    if (m_engines[i]) result = slotResult(mode, i, length, subject, marked);
    if (op & kNegate) {
      result = lengthOnly || !result;
      op &= kOperationMask;
    }
    if ((op == kOr && result) || (op == kAnd && !result)) {
      if (groups.empty()) return result;
      // The group's result is known: skip to just after its closer.
      int level = 0;
      size_t j = i + 1;
      for (; j < m_operations.size(); ++j) {
        const uint8_t code = m_operations[j] & kOperationMask;
        if (code == kGroupOpen) ++level;
        if (code == kGroupClose && level-- == 0) break;
      }
      if (j == m_operations.size()) return result;
      result = closeGroup(groups.back(), result);
      groups.pop_back();
      i = j + 1;
      continue;
    }
    if (op == kGroupClose) {
      if (groups.empty()) return result;
      result = closeGroup(groups.back(), result);
      groups.pop_back();
    } else if (op == kEndOfExpression) {
      return result;
    }
    ++i;
  }
  return result;
}

}  // namespace qel
