#include "helper/fast_lock.h"

#if !defined(__APPLE__)

#include <thread>

namespace quillon {

void FastLock::lockContended() noexcept {
  // Holders only copy a few values, so a short spin usually wins; after
  // that, yield so that a holder preempted on this core can finish.
  constexpr int kSpinsBeforeYield = 100;
  int spins = 0;
  do {
    // Wait on a plain load: it keeps the cache line shared until release.
    while (locked_.load(std::memory_order_relaxed)) {
      if (++spins > kSpinsBeforeYield) std::this_thread::yield();
    }
  } while (locked_.exchange(true, std::memory_order_acquire));
}

}  // namespace quillon

#endif
