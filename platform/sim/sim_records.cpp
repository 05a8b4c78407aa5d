#include "sim/sim_records.h"

#include <algorithm>

namespace quillon::sim {

void Recorder::add(std::string kind, const nlohmann::json& detail) {
  std::string text = detail.is_null() ? "{}" : detail.dump();
  std::lock_guard g(mutex_);
  list_.emplace_back(seq_.fetch_add(1), Record{std::move(kind), std::move(text)});
  if (list_.size() > kMaxRecords) list_.pop_front();
}

void Recorder::hot(HotKind kind, Point p) {
  // One writer (the main thread), so plain increments do: a locked
  // read-modify-write costs more than the rest of a warp.
  auto& count = kind == kWarp ? warps_ : associations_;
  count.store(count.load(std::memory_order_relaxed) + 1, std::memory_order_relaxed);
  if (!recordWarps_) return;
  uint64_t index = ringNext_.load(std::memory_order_relaxed);
  ringNext_.store(index + 1, std::memory_order_relaxed);
  Slot& slot = ring_[index % kRing];
  // A seqlock without fences (the thread sanitizer has no model of them):
  // release stores keep "empty" before the data, acquire loads in all()
  // keep the data before the second look at seq.
  slot.seq.store(0, std::memory_order_relaxed);
  slot.kind.store(kind, std::memory_order_release);
  slot.x.store(p.x, std::memory_order_release);
  slot.y.store(p.y, std::memory_order_release);
  slot.seq.store(seq_.fetch_add(1, std::memory_order_relaxed), std::memory_order_release);
}

std::vector<Record> Recorder::all() const {
  std::vector<std::pair<uint64_t, Record>> merged;
  uint64_t from = clearedBefore_.load();
  {
    std::lock_guard g(mutex_);
    for (const auto& r : list_)
      if (r.first >= from) merged.push_back(r);
  }
  for (const Slot& slot : ring_) {
    uint64_t before = slot.seq.load(std::memory_order_acquire);
    if (before == 0 || before < from) continue;
    auto kind = slot.kind.load(std::memory_order_acquire);
    Point p{slot.x.load(std::memory_order_acquire), slot.y.load(std::memory_order_acquire)};
    if (slot.seq.load(std::memory_order_relaxed) != before) continue;  // rewritten meanwhile
    if (kind == kWarp)
      merged.emplace_back(before, Record{"warp", nlohmann::json{{"x", p.x}, {"y", p.y}}.dump()});
    else
      merged.emplace_back(before, Record{"associate", "{}"});
  }
  std::sort(merged.begin(), merged.end(),
            [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<Record> out;
  out.reserve(merged.size());
  for (auto& m : merged) out.push_back(std::move(m.second));
  return out;
}

void Recorder::clear() {
  std::lock_guard g(mutex_);
  list_.clear();
  clearedBefore_.store(seq_.load());
}

}  // namespace quillon::sim
