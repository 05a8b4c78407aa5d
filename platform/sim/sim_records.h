#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

#include "sim/sim_mac.h"

namespace quillon::sim {

// What the simulated Mac did, in order. Most records go to a list under a
// mutex. Warps and associations happen once per pointer event on the hot
// path, so they go to a preallocated ring instead: no lock, no allocation;
// only the latest kRing of them are kept. A shared sequence number merges
// both in order.
class Recorder {
 public:
  static constexpr size_t kRing = 4096;
  // A helper left running on the simulated Mac records every event it
  // passes; only the latest kMaxRecords are kept so that memory stays flat.
  static constexpr size_t kMaxRecords = 20000;

  explicit Recorder(bool recordWarps) : recordWarps_(recordWarps) {}
  void add(std::string kind, const nlohmann::json& detail);  // any thread
  // Lock-free and allocation-free, for one writer: the main thread. (Two
  // threads warping at once would only lose counts and ring slots.)
  void warp(Point p) { hot(kWarp, p); }
  void associate() { hot(kAssociate, {}); }

  std::vector<Record> all() const;
  void clear();
  uint64_t warps() const { return warps_.load(std::memory_order_relaxed); }
  uint64_t associations() const { return associations_.load(std::memory_order_relaxed); }

 private:
  enum HotKind : uint8_t { kWarp = 1, kAssociate = 2 };
  struct Slot {
    std::atomic<uint64_t> seq{0};  // 0 while empty or being written
    std::atomic<uint8_t> kind{0};
    std::atomic<double> x{0}, y{0};
  };
  void hot(HotKind kind, Point p);

  const bool recordWarps_;
  std::atomic<uint64_t> seq_{1};
  std::atomic<uint64_t> clearedBefore_{0};
  std::atomic<uint64_t> warps_{0}, associations_{0};
  std::atomic<uint64_t> ringNext_{0};
  std::array<Slot, kRing> ring_;

  mutable std::mutex mutex_;
  std::deque<std::pair<uint64_t, Record>> list_;
};

}  // namespace quillon::sim
