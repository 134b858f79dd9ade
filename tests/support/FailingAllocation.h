// Every allocation of the test binary goes through a replacement operator new that fails on
// demand; unarmed it is plain malloc, so tests that do not arm it do not notice it.
#pragma once

namespace qel::test {

// Allocations still allowed before every further one fails (throws std::bad_alloc); negative when
// none fails.
extern long g_allocationsLeft;

// Fails every allocation after `allowed` more while it lives.
class FailingAllocations {
 public:
  explicit FailingAllocations(long allowed) { g_allocationsLeft = allowed; }
  ~FailingAllocations() { g_allocationsLeft = -1; }
  FailingAllocations(const FailingAllocations&) = delete;
  FailingAllocations& operator=(const FailingAllocations&) = delete;
};

}  // namespace qel::test
