#pragma once

#if defined(__APPLE__)
#include <os/lock.h>
#else
#include <atomic>
#endif

namespace quillon {

// A small non-recursive lock for critical sections that only copy values,
// made unlocked. On macOS it owns an os_unfair_lock, so that a thread waiting
// for it (the contact thread) lends its priority to the holder (the
// background main thread). Elsewhere it spins briefly, then yields.
class FastLock {
 public:
  FastLock() = default;
  FastLock(const FastLock&) = delete;
  FastLock& operator=(const FastLock&) = delete;

#if defined(__APPLE__)
  void lock() noexcept {
    os_unfair_lock_lock(&lock_);
  }
  void unlock() noexcept {
    os_unfair_lock_unlock(&lock_);
  }

 private:
  os_unfair_lock lock_ = OS_UNFAIR_LOCK_INIT;
#else
  void lock() noexcept {
    // Uncontended, the common case: one exchange, no call.
    if (!locked_.exchange(true, std::memory_order_acquire)) return;
    lockContended();
  }
  void unlock() noexcept {
    locked_.store(false, std::memory_order_release);
  }

 private:
  void lockContended() noexcept;
  std::atomic<bool> locked_{false};
#endif
};

}  // namespace quillon
