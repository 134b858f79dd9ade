#include "dictionary/DecodedSection.h"

#include <atomic>

namespace qel {
namespace {

std::atomic<size_t> g_budget{0};
std::atomic<size_t> g_used{0};

}  // namespace

void setDecodedSectionBudget(size_t bytes) { g_budget = bytes; }
size_t decodedSectionBudget() { return g_budget; }
size_t decodedSectionBytes() { return g_used; }

namespace decoded_sections {

bool reserve(size_t bytes) {
  size_t used = g_used.load();
  do {
    if (used + bytes > g_budget.load() || used + bytes < used) return false;
  } while (!g_used.compare_exchange_weak(used, used + bytes));
  return true;
}

void release(size_t bytes) { g_used -= bytes; }

}  // namespace decoded_sections
}  // namespace qel
