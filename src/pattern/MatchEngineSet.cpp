// MatchEngineSet: parsing into engines and operations, length range and check, entry filter.
#include "pattern/MatchEngineSet.h"

#include <algorithm>
#include <climits>

#include "pattern/FastMatchers.h"
#include "pattern/PatternErrors.h"
#include "pattern/PatternLimits.h"
#include "pattern/PatternSplitter.h"

namespace qel {

using namespace pattern;
using enum PatternError;

namespace {

// Group depth that went out of bounds stays out: too deep (error 7) or closed too often (8).
constexpr int kDepthTooDeep = INT_MAX / 2;
constexpr int kDepthNegative = INT_MIN / 2;

}  // namespace

void MatchEngineSet::clear() {
  m_direct = nullptr;
  m_engines.clear();
  m_operations.clear();
  m_andOperand.clear();
  m_error = kValid;
  m_range = LengthRange{};
  m_currentLength = 0;
  m_scratch.balance = BalanceCounts{};
  m_scratch.abandoned = 0;
  m_scratch.work = 0;
  m_workLimit = LONG_MAX;
}

PatternError MatchEngineSet::parse(const Alphabet& alphabet, std::string_view text, int shortest,
                                   int longest, bool exclusiveVariables) {
  clear();
  m_alphabet = &alphabet;
  m_shortest = shortest;
  m_longest = longest;
  int depth = 0;
  const std::vector<PatternSegment> segments = splitPatterns(text);
  if (segments.size() > static_cast<size_t>(kMaxPatterns)) {
    m_error = kTooManyLetterSets;
    return m_error;
  }
  for (const PatternSegment& segment : segments) {
    for (bool negatedGroup : segment.openers) {
      m_operations.push_back(static_cast<uint8_t>(kGroupOpen | (negatedGroup ? kNegate : 0)));
      m_engines.push_back(nullptr);
      if (depth != kDepthTooDeep && depth != kDepthNegative) ++depth;
    }
    auto engine = std::make_unique<MatchEngine>();
    engine->setShortest(shortest);
    engine->setLongest(longest);
    engine->compile(alphabet, segment.text, exclusiveVariables);
    if (depth != kDepthNegative && depth > kMaxGroupDepth) depth = kDepthTooDeep;
    if (depth != kDepthTooDeep && depth != kDepthNegative) {
      depth -= segment.closers;
      if (depth < 0) depth = kDepthNegative;
    }
    // The pattern's slot closes the first group after it; the segment's last slot carries the
    // operator that follows.
    const uint8_t negation = segment.negated ? kNegate : 0;
    const uint8_t own = segment.closers > 0 ? kGroupClose : segment.connective;
    m_operations.push_back(static_cast<uint8_t>(own | negation));
    m_engines.push_back(std::move(engine));
    for (int k = 1; k <= segment.closers; ++k) {
      m_operations.push_back(k == segment.closers ? segment.connective : kGroupClose);
      m_engines.push_back(nullptr);
    }
  }
  if (depth > 0) {
    m_error = kSubPatternUnfinished;
  } else if (depth < 0) {
    m_error = kStrayCloseBracket;
  } else {
    for (const auto& engine : m_engines) {
      if (engine && !engine->valid()) {
        m_error = engine->error();
        break;
      }
    }
  }
  markAndOperands();
  updateRange();
  return m_error;
}

void MatchEngineSet::setShortestLongest(int shortest, int longest) {
  for (const auto& engine : m_engines) {
    if (!engine) continue;
    engine->setShortest(shortest);
    engine->setLongest(longest);
  }
  updateRange();
}

LengthRange MatchEngineSet::lengthRange() const {
  LengthRange range;
  if (m_operations.empty() || m_error != kValid) return range;
  if (m_operations.size() == 1) {
    // One pattern, negated or not, is searched over its own lengths.
    const MatchEngine& engine = *m_engines[0];
    if (engine.minimumLength() <= engine.maximumLength())
      range = {engine.minimumLength(), engine.maximumLength()};
    return range;
  }
  for (int length = kShortestWord; length <= kLongestWord; ++length) {
    if (!evaluate(Mode::LengthOnly, length, nullptr, nullptr)) continue;
    if (range.first > length) range.first = length;
    range.last = length;
  }
  return range;
}

void MatchEngineSet::updateRange() {
  m_range = lengthRange();
  m_direct = nullptr;
  if (m_error != kValid || m_operations.size() != 1 || m_operations[0] != kEndOfExpression) return;
  const MatchEngine& engine = *m_engines[0];
  const pattern::CompiledPattern& c = engine.compiled();
  if (!engine.valid() || c.matcher == pattern::MatcherKind::General || c.hasPunctuation ||
      c.hasExactCharacters) {
    return;
  }
  m_direct = &c;
  m_scanLength = 0;
  m_directFirst = std::max({m_range.first, engine.minimumLength(), c.fixedLength});
  m_directLast = std::min({m_range.last, engine.maximumLength(), c.maximumLength, kLongestWord});
}

LengthCheck MatchEngineSet::lengthCheck() {
  setShortestLongest(kShortestWord, kLongestWord);
  const LengthRange own = m_range;
  setShortestLongest(m_shortest, m_longest);
  LengthCheck check;
  check.range = m_range;
  if (check.range.empty()) {
    check.problem = own.empty() ? LengthProblem::kIncompatibleLengths
                                : LengthProblem::kShortestLongestStopPattern;
  }
  return check;
}

bool MatchEngineSet::setCurrentLength(int length) {
  m_currentLength = length;
  for (const auto& engine : m_engines) {
    if (engine && engine->acceptsLength(length)) engine->setCurrentLength(length);
  }
  return !(m_engines.size() == 1 && !m_engines[0]->acceptsLength(length));
}

bool MatchEngineSet::matchesEveryEntry() const {
  if (m_error != kValid || m_operations.size() != 1 || m_operations[0] != kEndOfExpression)
    return false;
  const pattern::CompiledPattern& c = m_engines[0]->compiled();
  return c.matcher == pattern::MatcherKind::Affix && c.fastOperand == 0 && c.fastSuffix == 0;
}

bool MatchEngineSet::accepts(const uint8_t* letters, int length, const char* text) {
  if (m_direct != nullptr && letters != nullptr) {
    m_scratch.balance.useCount = 0;
    if (length < m_directFirst || length > m_directLast) return false;
    return pattern::matchFast(*m_direct, letters, length, &m_scratch.balance) == 1;
  }
  if (m_operations.empty()) return true;
  m_scratch.balance.useCount = 0;
  if (m_error != kValid || letters == nullptr) return false;
  if (length < m_range.first || length > m_range.last) return false;
  if (length != m_currentLength) setCurrentLength(length);
  const MatchSubject subject{letters, length, text ? text : ""};
  if (m_operations.size() == 1) {
    // One pattern, negated or not, is searched over its own lengths only.
    const MatchEngine& engine = *m_engines[0];
    if (!engine.acceptsLength(length)) return false;
    if (m_operations[0] == kEndOfExpression) return engine.match(letters, subject.text, m_scratch);
  }
  return evaluate(Mode::Full, length, &subject, nullptr);
}

size_t MatchEngineSet::acceptedAmong(const uint8_t* letters, size_t stride, size_t count,
                                     int length, size_t* found, size_t capacity) {
  if (m_direct == nullptr) {
    return EntryFilter::acceptedAmong(letters, stride, count, length, found, capacity);
  }
  if (length < m_directFirst || length > m_directLast) return 0;
  if (scansFixedLetters(length)) {
    m_scratch.balance.useCount = 0;
    return m_scan.passing(letters, stride, count, found, capacity);
  }
  return collectAccepted(count, found, capacity, [&](size_t from) {
    const uint8_t* entry = letters + from * stride;
    // The fast matcher alone, entry after entry: what accepts() does without its checks per call.
    for (; from < count; ++from, entry += stride) {
      m_scratch.balance.useCount = 0;
      if (pattern::matchFast(*m_direct, entry, length, &m_scratch.balance) == 1) return from;
    }
    return count;
  });
}

bool MatchEngineSet::scansFixedLetters(int length) {
  // A template or an affix fixes letters by position and asks nothing else: comparing those
  // directly is the whole test.
  if (length != m_scanLength) {
    uint8_t checks[kLongestWord][2];
    const int fixed = pattern::fixedLetterChecks(*m_direct, length, checks, kLongestWord);
    m_scanFixed = fixed >= 0 && m_scan.prepare(checks, fixed);
    m_scanLength = length;
  }
  return m_scanFixed;
}

std::string MatchEngineSet::balanceText(std::string_view prefix) const {
  if (m_engines.size() != 1 || m_alphabet == nullptr) return {};
  return pattern::balanceText(m_scratch.balance, *m_alphabet, prefix);
}

bool MatchEngineSet::matchSlot(size_t slot, const uint8_t* letters, int length, const char* text) {
  if (slot >= m_engines.size() || !m_engines[slot]) return false;
  MatchEngine& engine = *m_engines[slot];
  if (!engine.acceptsLength(length)) return false;
  engine.setCurrentLength(length);
  return engine.match(letters, text ? text : "", m_scratch);
}

bool MatchEngineSet::evaluateGathered(const std::vector<uint8_t>& marked) const {
  if (m_operations.empty()) return true;
  if (m_error != kValid || marked.size() < m_operations.size()) return false;
  return evaluate(Mode::Gathered, 0, nullptr, &marked);
}

std::string MatchEngineSet::dump() const {
  std::string out = "operations";
  for (uint8_t op : m_operations) out += " " + std::to_string(op);
  out += "\n";
  for (size_t slot = 0; slot < m_engines.size(); ++slot) {
    if (!m_engines[slot]) continue;
    out += "pattern " + std::to_string(slot) + "\n" + m_engines[slot]->dump();
  }
  return out;
}

}  // namespace qel
