#pragma once

#include <atomic>

namespace quillon {

// A small non-recursive lock for critical sections that only copy values
// (os_unfair_lock on macOS). Spins briefly, then yields.
class FastLock {
 public:
  void lock() noexcept;
  void unlock() noexcept { locked_.store(false, std::memory_order_release); }

 private:
  std::atomic<bool> locked_{false};
};

}  // namespace quillon
