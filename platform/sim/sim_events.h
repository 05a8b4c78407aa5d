#pragma once

#include <array>
#include <atomic>
#include <memory>
#include <mutex>
#include <vector>

#include <nlohmann/json.hpp>

#include "sim/sim_folder.h"
#include "sim/sim_mac.h"
#include "sim/sim_records.h"

namespace quillon::sim {

// The pointer's position, written by warps (the program under test), by
// passed motion events (the system) and by other programs. A seqlock: the
// pointer path neither locks nor allocates, and a reader on another thread
// never sees x of one position with y of another.
class SimCursor : public platform::Cursor {
 public:
  explicit SimCursor(Recorder& recorder) : recorder_(recorder) {}
  void warp(Point p) override {
    set(p);
    recorder_.warp(p);
  }
  void associateMouseAndCursor() override { recorder_.associate(); }

  void set(Point p);
  Point position() const;

 private:
  Recorder& recorder_;
  std::atomic<uint64_t> version_{0};  // odd while a write is under way
  std::atomic<double> x_{0}, y_{0};
};

// Core Graphics event taps at the HID level. Head taps see an event before
// the taps made earlier, tail taps after them; a tap receives the types of
// its mask once it is enabled and on the run loop. Field accessors index
// flat arrays: an out-of-range field number reads 0 and writes nothing.
class SimEventTaps : public platform::EventTaps {
 public:
  SimEventTaps(const SystemFolder& folder, Recorder& recorder)
      : folder_(folder), recorder_(recorder) {}

  platform::TapPort createTap(platform::TapPlacement placement, uint64_t eventMask,
                              platform::TapCallback callback, void* context) override;
  void addToMainRunLoop(platform::TapPort port) override;
  void enable(platform::TapPort port, bool on) override;
  void invalidate(platform::TapPort port) override;

  int64_t integerField(platform::EventRef event, int field) const override {
    return event && inRange(field) ? ev(event)->ints[static_cast<size_t>(field)] : 0;
  }
  void setIntegerField(platform::EventRef event, int field, int64_t value) override {
    if (event && inRange(field)) ev(event)->ints[static_cast<size_t>(field)] = value;
  }
  double doubleField(platform::EventRef event, int field) const override {
    return event && inRange(field) ? ev(event)->doubles[static_cast<size_t>(field)] : 0;
  }
  void setDoubleField(platform::EventRef event, int field, double value) override {
    if (event && inRange(field)) ev(event)->doubles[static_cast<size_t>(field)] = value;
  }
  Point location(platform::EventRef event) const override {
    return event ? ev(event)->location : Point{};
  }
  void setLocation(platform::EventRef event, Point p) override {
    if (event) ev(event)->location = p;
  }

  // Runs `event` through the taps in order; false if one dropped it (gave
  // back null). A tap that returns another event passes that one on.
  bool post(SimEvent& event);
  // The system switches every enabled tap off and tells its callback.
  void disableAll(uint32_t reason);

 private:
  struct Tap {
    platform::TapPlacement placement{};
    uint64_t mask = 0;
    platform::TapCallback callback = nullptr;
    void* context = nullptr;
    std::atomic<bool> enabled{true};  // CGEventTapCreate makes taps enabled
    std::atomic<bool> scheduled{false};
    std::atomic<bool> valid{true};
  };
  static constexpr size_t kMaxActive = 32;
  static bool inRange(int field) { return field >= 0 && field < SimEvent::kFields; }
  static SimEvent* ev(platform::EventRef e) { return static_cast<SimEvent*>(e); }
  Tap* find(platform::TapPort port);
  // The live taps in the order an event meets them; no allocation.
  size_t ordered(std::array<Tap*, kMaxActive>& out);

  const SystemFolder& folder_;
  Recorder& recorder_;
  std::mutex mutex_;
  std::vector<std::unique_ptr<Tap>> taps_;  // never freed before the Mac: ports stay valid
};

bool isMotionType(uint32_t type);
// An event as the records and the control protocol show it: type, location
// and the fields that are not zero.
nlohmann::json eventJson(const SimEvent& event);
// Throws nlohmann::json::exception on a malformed description.
SimEvent eventFromJson(const nlohmann::json& j, Point cursor);

}  // namespace quillon::sim
