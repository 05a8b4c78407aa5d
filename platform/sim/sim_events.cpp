#include "sim/sim_events.h"

#include <string>

#include "sim/sim_state.h"

namespace quillon::sim {

using nlohmann::json;
namespace et = platform::event_type;

void SimCursor::set(Point p) {
  // Writers are rare and short; one spins only while another is mid-write.
  uint64_t v = version_.load(std::memory_order_relaxed);
  for (;;) {
    if ((v & 1) == 0 && version_.compare_exchange_weak(v, v + 1, std::memory_order_acquire,
                                                       std::memory_order_relaxed))
      break;
    v = version_.load(std::memory_order_relaxed);
  }
  x_.store(p.x, std::memory_order_release);
  y_.store(p.y, std::memory_order_release);
  version_.store(v + 2, std::memory_order_release);
}

Point SimCursor::position() const {
  for (;;) {
    uint64_t before = version_.load(std::memory_order_acquire);
    // Acquire loads keep the second look at the version after the data.
    Point p{x_.load(std::memory_order_acquire), y_.load(std::memory_order_acquire)};
    if ((before & 1) == 0 && version_.load(std::memory_order_relaxed) == before) return p;
  }
}

platform::TapPort SimEventTaps::createTap(platform::TapPlacement placement, uint64_t eventMask,
                                          platform::TapCallback callback, void* context) {
  json detail = {{"placement", placement == platform::TapPlacement::head ? "head" : "tail"},
                 {"mask", eventMask}};
  if (!readPermissions(folder_).accessibility || !callback) {
    recorder_.add("tapRefused", detail);
    return nullptr;
  }
  auto tap = std::make_unique<Tap>();
  tap->placement = placement;
  tap->mask = eventMask;
  tap->callback = callback;
  tap->context = context;
  Tap* port = tap.get();
  {
    std::lock_guard g(mutex_);
    taps_.push_back(std::move(tap));
  }
  recorder_.add("tapCreated", detail);
  return port;
}

SimEventTaps::Tap* SimEventTaps::find(platform::TapPort port) {
  std::lock_guard g(mutex_);
  for (auto& t : taps_)
    if (t.get() == port) return t.get();
  return nullptr;
}

void SimEventTaps::addToMainRunLoop(platform::TapPort port) {
  if (Tap* t = find(port)) t->scheduled = true;
}

void SimEventTaps::enable(platform::TapPort port, bool on) {
  Tap* t = find(port);
  if (!t || !t->valid) return;
  t->enabled = on;
  recorder_.add("tapEnabled", {{"on", on}});
}

void SimEventTaps::invalidate(platform::TapPort port) {
  Tap* t = find(port);
  if (!t || !t->valid.exchange(false)) return;
  recorder_.add("tapInvalidated", {});
}

size_t SimEventTaps::ordered(std::array<Tap*, kMaxActive>& out) {
  std::lock_guard g(mutex_);
  size_t n = 0;
  for (auto it = taps_.rbegin(); it != taps_.rend() && n < kMaxActive; ++it)
    if ((*it)->placement == platform::TapPlacement::head && (*it)->valid) out[n++] = it->get();
  for (auto it = taps_.begin(); it != taps_.end() && n < kMaxActive; ++it)
    if ((*it)->placement == platform::TapPlacement::tail && (*it)->valid) out[n++] = it->get();
  return n;
}

bool SimEventTaps::post(SimEvent& event) {
  std::array<Tap*, kMaxActive> taps;
  size_t n = ordered(taps);
  for (size_t i = 0; i < n; ++i) {
    Tap& t = *taps[i];
    if (!t.valid || !t.enabled || !t.scheduled) continue;
    if (event.type >= 64 || (t.mask & platform::eventMaskBit(event.type)) == 0) continue;
    platform::EventRef out = t.callback(t.context, event.type, &event);
    if (!out) return false;
    if (out != &event) event = *static_cast<SimEvent*>(out);
  }
  return true;
}

void SimEventTaps::disableAll(uint32_t reason) {
  std::array<Tap*, kMaxActive> taps;
  size_t n = ordered(taps);
  for (size_t i = 0; i < n; ++i) {
    Tap& t = *taps[i];
    if (!t.valid || !t.enabled.exchange(false)) continue;
    recorder_.add("tapDisabled", {{"reason", reason}});
    // The system tells the tap with an event of the notification's type,
    // whatever its mask.
    SimEvent notice;
    notice.type = reason;
    t.callback(t.context, reason, &notice);
  }
}

bool isMotionType(uint32_t type) {
  return type == et::kMouseMoved || type == et::kLeftMouseDragged ||
         type == et::kRightMouseDragged || type == et::kOtherMouseDragged;
}

json eventJson(const SimEvent& e) {
  json ints = json::object(), doubles = json::object();
  for (size_t i = 0; i < e.ints.size(); ++i)
    if (e.ints[i] != 0) ints[std::to_string(i)] = e.ints[i];
  for (size_t i = 0; i < e.doubles.size(); ++i)
    if (e.doubles[i] != 0) doubles[std::to_string(i)] = e.doubles[i];
  return {{"type", e.type},
          {"location", {e.location.x, e.location.y}},
          {"fields", ints},
          {"doubles", doubles}};
}

namespace {

size_t fieldNumber(const std::string& key) {
  size_t used = 0;
  int n = -1;
  try {
    n = std::stoi(key, &used);
  } catch (const std::exception&) {
  }
  if (used != key.size() || n < 0 || n >= SimEvent::kFields)
    throw json::out_of_range::create(401, "no event field " + key, nullptr);
  return static_cast<size_t>(n);
}

}  // namespace

SimEvent eventFromJson(const json& j, Point cursor) {
  SimEvent e;
  e.type = j.at("type").get<uint32_t>();
  if (j.contains("fields"))
    for (const auto& [k, v] : j.at("fields").items()) e.ints[fieldNumber(k)] = v.get<int64_t>();
  if (j.contains("doubles"))
    for (const auto& [k, v] : j.at("doubles").items()) e.doubles[fieldNumber(k)] = v.get<double>();
  if (j.contains("location")) {
    const json& l = j.at("location");
    if (l.size() != 2) throw json::type_error::create(302, "location needs [x, y]", &l);
    e.location = {l[0].get<double>(), l[1].get<double>()};
  } else if (isMotionType(e.type)) {
    // As the system does: the new position is the cursor plus the device's
    // movement.
    e.location = {cursor.x + static_cast<double>(e.ints[platform::field::kMouseEventDeltaX]),
                  cursor.y + static_cast<double>(e.ints[platform::field::kMouseEventDeltaY])};
  } else {
    e.location = cursor;
  }
  return e;
}

}  // namespace quillon::sim
