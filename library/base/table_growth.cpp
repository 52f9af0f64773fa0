#include "base/table_growth.h"

#include <atomic>

#include "base/debug_ring.h"
#include "base/status_words.h"

namespace tramsoll {

namespace {
std::atomic<int> injectedFailures{0};
}

void reportAllocationFailure(const char* tableName) {
  setBits(errFault, fault::kMemory);
  logLine("MemMngr: malloc error for %s", tableName);
}

void checkInjectedAllocationFailure() {
  int left = injectedFailures.load();
  while (left > 0 && !injectedFailures.compare_exchange_weak(left, left - 1)) {
  }
  if (left > 0) throw std::bad_alloc();
}

void failNextGrowths(int count) { injectedFailures.store(count > 0 ? count : 0); }

}  // namespace tramsoll
