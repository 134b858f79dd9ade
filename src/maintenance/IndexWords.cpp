#include "maintenance/IndexWords.h"

namespace qel::build {
namespace {

uint64_t hashOf(std::string_view word) {
  uint64_t h = 1469598103934665603ull;  // FNV-1a
  for (char c : word) {
    h ^= static_cast<uint8_t>(c);
    h *= 1099511628211ull;
  }
  return h;
}

constexpr uint32_t kCommonListMinimum = 100;

}  // namespace

uint32_t IndexWords::lookup(std::string_view word, uint64_t hash) const {
  const size_t mask = m_slots.size() - 1;
  size_t slot = hash & mask;
  for (;;) {
    const uint32_t id = m_slots[slot];
    if (id == 0 || key(id - 1) == word) return static_cast<uint32_t>(slot);
    slot = (slot + 1) & mask;
  }
}

uint32_t IndexWords::find(std::string_view word) const {
  if (m_slots.empty()) return kNoWord;
  const uint32_t id = m_slots[lookup(word, hashOf(word))];
  return id == 0 ? kNoWord : id - 1;
}

void IndexWords::grow() {
  std::vector<uint32_t> old = std::move(m_slots);
  m_slots.assign(old.empty() ? 1024 : old.size() * 2, 0);
  for (uint32_t id : old) {
    if (id != 0) m_slots[lookup(key(id - 1), hashOf(key(id - 1)))] = id;
  }
}

uint32_t IndexWords::insert(std::string_view word, uint64_t hash) {
  if ((m_words.size() + 1) * 2 > m_slots.size()) grow();
  const uint32_t slot = lookup(word, hash);
  if (m_slots[slot] != 0) return m_slots[slot] - 1;
  IndexWord w;
  w.keyOffset = m_keys.size();
  w.letters = static_cast<uint8_t>(word.size());
  m_keys.append(word);
  m_words.push_back(std::move(w));
  m_slots[slot] = static_cast<uint32_t>(m_words.size());
  return static_cast<uint32_t>(m_words.size() - 1);
}

void IndexWords::add(std::string_view word, uint32_t number, int commonPercentage) {
  IndexWord& w = m_words[insert(word, hashOf(word))];
  if (w.notListed || (!w.numbers.empty() && w.numbers.back() == number)) return;
  if (commonPercentage > 0 && w.numbers.size() > kCommonListMinimum &&
      static_cast<uint64_t>(number) * static_cast<uint64_t>(commonPercentage) <
          static_cast<uint64_t>(w.numbers.size()) * 100) {
    w.notListed = true;
    std::vector<uint32_t>().swap(w.numbers);
    return;
  }
  w.numbers.push_back(number);
}

}  // namespace qel::build
