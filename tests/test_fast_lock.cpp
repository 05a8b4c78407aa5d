// The helper's lock under contention, on whichever branch the platform
// builds: os_unfair_lock on a Mac, the spin-then-yield lock elsewhere.
#include <latch>
#include <mutex>
#include <thread>
#include <vector>

#include "gtest/gtest.h"
#include "helper/fast_lock.h"

namespace quillon {
namespace {

TEST(FastLock, ContendedIncrementsAreNeverLost) {
  constexpr int kThreads = 4;
  constexpr int kIncrements = 100'000;
  FastLock lock;
  // Plain, not atomic: only the lock keeps two read-add-writes apart, and a
  // lost one shows in the total. (A lock that checks, then sets, loses a few
  // thousand here.)
  long count = 0;
  // All start together, or the first could be done before the last begins.
  std::latch start(kThreads);
  std::vector<std::thread> threads;
  threads.reserve(kThreads);
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&] {
      start.arrive_and_wait();
      for (int i = 0; i < kIncrements; ++i) {
        std::lock_guard<FastLock> guard(lock);
        ++count;
      }
    });
  }
  for (std::thread& t : threads) t.join();
  EXPECT_EQ(count, long{kThreads} * kIncrements);
}

}  // namespace
}  // namespace quillon
