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

// An operand's connectives are the one before it in its group and the one after it: for a
// pattern its own slot's, for a group the slot after the one that closes it (when that slot only
// carries the connective).
void MatchEngineSet::markAndOperands() {
  m_andOperand.assign(m_operations.size(), 0);
  std::vector<uint8_t> before{kEndOfExpression};  // per group level: the connective so far
  std::vector<size_t> openers;
  std::vector<uint8_t> openerBefore;
  for (size_t i = 0; i < m_operations.size(); ++i) {
    const uint8_t code = m_operations[i] & kOperationMask;
    if (code == kGroupOpen) {
      openers.push_back(i);
      openerBefore.push_back(before.back());
      before.push_back(kEndOfExpression);
      continue;
    }
    if (m_engines[i]) m_andOperand[i] = before.back() == kAnd || code == kAnd;
    if (code == kAnd || code == kOr) before.back() = code;
    if (code != kGroupClose || openers.empty()) continue;
    const bool connectiveNext = i + 1 < m_operations.size() && !m_engines[i + 1] &&
                                (m_operations[i + 1] & kOperationMask) <= kEndOfExpression;
    const uint8_t after = connectiveNext ? m_operations[i + 1] & kOperationMask : kGroupClose;
    m_andOperand[openers.back()] = openerBefore.back() == kAnd || after == kAnd;
    openers.pop_back();
    openerBefore.pop_back();
    before.pop_back();
  }
}

// Length-only mode asks whether an entry of the length could match: a pattern could when the
// length is in its range. A negated pattern or group counts with its own range too, except as an
// operand of "&", where it must not narrow the other side: there it always could (out of its range
// a pattern is false, so its negation is true).
bool MatchEngineSet::evaluate(Mode mode, int length, const MatchSubject* subject,
                              const std::vector<uint8_t>* marked) const {
  const bool lengthOnly = mode == Mode::LengthOnly;
  auto negate = [&](size_t slot, bool value) {
    if (!lengthOnly) return !value;
    return m_andOperand[slot] != 0 || value;
  };
  std::vector<size_t> groups;  // the opener slots of the groups we are in
  groups.reserve(kMaxGroupDepth + 1);
  bool result = false;
  size_t i = 0;
  while (i < m_operations.size()) {
    uint8_t op = m_operations[i];
    if ((op & kOperationMask) == kGroupOpen) {
      groups.push_back(i);
      ++i;
      continue;
    }
    if (m_engines[i]) result = slotResult(mode, i, length, subject, marked);
    if (op & kNegate) {
      result = negate(i, result);
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
      if (m_operations[groups.back()] & kNegate) result = negate(groups.back(), result);
      groups.pop_back();
      i = j + 1;
      continue;
    }
    if (op == kGroupClose) {
      if (groups.empty()) return result;
      if (m_operations[groups.back()] & kNegate) result = negate(groups.back(), result);
      groups.pop_back();
    } else if (op == kEndOfExpression) {
      return result;
    }
    ++i;
  }
  return result;
}

}  // namespace qel
