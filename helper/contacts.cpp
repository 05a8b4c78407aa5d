#include "helper/contacts.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <mutex>
#include <utility>

#include "helper/format.h"
#include "helper/log.h"
#include "helper/plane.h"

namespace quillon {

namespace {

using platform::MTFunction;

// Narrower surfaces are not trackpads (a Magic Mouse's touch surface).
constexpr int32_t kMinPadWidthHundredthsMM = 8000;
// Surface assumed for frames of a device we never registered.
constexpr double kUnknownPadWMM = 140;
constexpr double kUnknownPadHMM = 85;
// Frames farther apart than this are a new stroke: their distance says
// nothing about the hand's speed.
constexpr double kMaxFrameGapS = 0.1;

struct Step {
  double x = 0;
  double y = 0;
};

template <typename T>
T readField(const unsigned char* record, int offset) {
  // The records are the framework's bytes, not our type: copy, don't cast.
  T value;
  std::memcpy(&value, record + offset, sizeof value);
  return value;
}

void addOnce(std::vector<platform::MTDeviceRef>& devices, platform::MTDeviceRef device) {
  if (std::find(devices.begin(), devices.end(), device) == devices.end()) {
    devices.push_back(device);
  }
}

const Touch* findPrevious(const ContactThreadState& c, const Touch& t) {
  for (int i = 0; i < c.prevCount; ++i) {
    const Touch& p = c.prevTouches[static_cast<size_t>(i)];
    if (p.id == t.id && p.pad == t.pad) return &p;
  }
  return nullptr;
}

}  // namespace

bool startMultitouch(HelperState& state, bool fresh) {
  platform::Multitouch& mt = state.system.multitouch;
  MainState& m = state.main;
  // After a wake the framework lists new devices: the earlier ones are
  // stopped and unregistered first, which also lets the adapter release the
  // list they came in.
  if (fresh) stopMultitouch(state);

  auto anyPads = [&state] {
    std::lock_guard guard(state.lock);
    return !state.shared.pads.empty();
  };
  if (!mt.load() || !mt.has(MTFunction::createList)) return anyPads();
  std::optional<std::vector<platform::MTDeviceRef>> list = mt.createList();
  if (!list) return anyPads();

  std::vector<Pad> working;
  if (!fresh) {
    std::lock_guard guard(state.lock);
    working = state.shared.pads;
  }

  for (platform::MTDeviceRef device : *list) {
    // Without an identifier the handle itself tells the devices apart.
    uint64_t id = reinterpret_cast<uintptr_t>(device);
    if (mt.has(MTFunction::getDeviceID)) {
      uint64_t read = 0;
      if (mt.getDeviceID(device, &read) == 0) id = read;
    }
    if (std::find(m.padIDs.begin(), m.padIDs.end(), id) != m.padIDs.end()) continue;

    if (!mt.has(MTFunction::getSensorSurfaceDimensions)) continue;
    int32_t w = 0, h = 0;  // hundredths of a mm
    if (mt.getSensorSurfaceDimensions(device, &w, &h) != 0) continue;
    if (w < kMinPadWidthHundredthsMM || h <= 0) continue;

    const Pad pad{device, id, w / 100.0, h / 100.0};
    working.push_back(pad);
    // Swapped in so that the contact thread never waits on an allocation.
    std::vector<Pad> published = working;
    {
      std::lock_guard guard(state.lock);
      std::swap(state.shared.pads, published);
    }

    if (mt.has(MTFunction::registerContactFrameCallback)) {
      addOnce(m.mtCallbackDevices, device);
      mt.registerContactFrameCallback(device, contactCallback, &state);
    }
    if (!mt.has(MTFunction::registerContactFrameCallback) || !mt.has(MTFunction::deviceStart) ||
        mt.deviceStart(device, 0) != 0) {
      continue;  // may be tried again by a later call
    }
    addOnce(m.mtStartedDevices, device);
    m.padIDs.push_back(id);
    const bool builtIn = mt.has(MTFunction::isBuiltIn) && mt.isBuiltIn(device);
    logLine(
        formatC("reading %strackpad (%.0f x %.0f mm)", builtIn ? "built-in " : "", pad.w, pad.h));
  }

  return !m.padIDs.empty();
}

void stopMultitouch(HelperState& state) {
  platform::Multitouch& mt = state.system.multitouch;
  MainState& m = state.main;
  // First no new frames, then no callback: unregistering waits for a frame
  // that is being handled, and the adapter drops whatever comes after.
  if (mt.has(MTFunction::deviceStop)) {
    for (platform::MTDeviceRef device : m.mtStartedDevices) {
      mt.deviceStop(device);
    }
  }
  for (platform::MTDeviceRef device : m.mtCallbackDevices) {
    mt.unregisterContactFrameCallback(device);
  }
  m.mtStartedDevices.clear();
  m.mtCallbackDevices.clear();
  m.padIDs.clear();
}

int32_t contactCallback(void* context, platform::MTDeviceRef device, const void* records,
                        int32_t count, double timestamp, int32_t /*frame*/) {
  if (context == nullptr) return 0;
  HelperState& state = *static_cast<HelperState*>(context);
  ContactThreadState& c = state.contact;

  double w = kUnknownPadWMM, h = kUnknownPadHMM;
  {
    std::lock_guard guard(state.lock);
    for (const Pad& pad : state.shared.pads) {
      if (pad.ref == device) {
        w = pad.w;
        h = pad.h;
        break;
      }
    }
  }

  int n = 0;
  int matched = 0;
  Step sum, biggest;
  double largest = 0;  // mm
  const auto* bytes = static_cast<const unsigned char*>(records);
  // The loop stops at kMaxTouches touching fingers, so a count larger than
  // the fingers delivered is not read past them.
  for (int32_t i = 0; bytes != nullptr && i < count && n < kMaxTouches; ++i) {
    const unsigned char* record = bytes + static_cast<size_t>(i) * platform::kMTFingerSize;
    if (readField<int32_t>(record, platform::kMTFingerStateOffset) != platform::kMTFingerTouching) {
      continue;
    }
    const float nx = readField<float>(record, platform::kMTFingerXOffset);
    const float ny = readField<float>(record, platform::kMTFingerYOffset);
    // A finger without a place cannot move the pointer anywhere sensible.
    if (!std::isfinite(nx) || !std::isfinite(ny)) continue;

    Touch& t = c.curTouches[static_cast<size_t>(n++)];
    t.pad = device;
    t.id = readField<int32_t>(record, platform::kMTFingerIdentifierOffset);
    t.x = nx * w;
    t.y = (1 - ny) * h;  // the surface's y grows upwards, ours downwards

    if (const Touch* p = findPrevious(c, t)) {
      const Step d{t.x - p->x, t.y - p->y};
      sum.x += d.x;
      sum.y += d.y;
      ++matched;
      const double distance = planeLength(d.x, d.y);
      if (distance > largest) {
        largest = distance;
        biggest = d;
      }
    }
  }

  // Scrolling moves with both fingers; their average is the scroll step.
  const bool twoFingers = n >= 2 && matched >= 2;
  const Step average{twoFingers ? sum.x / matched : 0, twoFingers ? sum.y / matched : 0};

  std::copy_n(c.curTouches.begin(), n, c.prevTouches.begin());
  c.prevCount = n;

  const double now = state.system.clock.uptime();
  // A frame without a usable time stamp still counts and still carries
  // fingers, but it must not become the time later frames are measured from.
  const bool timed = std::isfinite(timestamp);

  std::lock_guard guard(state.lock);
  Guarded& s = state.shared;
  if (n > 0) s.lastPadTouch = now;
  if (twoFingers && timed) {
    s.scrollMoveX += average.x;
    s.scrollMoveY += average.y;
    s.scrollMoveTime = timestamp;
  }
  const double dt = timed ? timestamp - s.lastFrameTime : 0;
  if (timed) s.lastFrameTime = timestamp;
  s.framesSeen += 1;

  const Curve* curve = s.trackpadCurve.get();
  if (curve != nullptr && largest > 0 && dt > 0 && dt < kMaxFrameGapS) {
    const double v = (largest / dt) * 0.4 + s.smoothV * 0.6;  // mm/s
    const double gain = curve->ptsPerMM(v, s.display);
    const Step step{biggest.x * gain, biggest.y * gain};
    // A speed or gain past any range (frames nanoseconds apart, an extreme
    // curve) would stay in the smoothing and the pending sum for good.
    if (std::isfinite(v) && std::isfinite(step.x) && std::isfinite(step.y)) {
      s.smoothV = v;
      s.lastStepX = step.x;
      s.lastStepY = step.y;
      s.pendingX += step.x;
      s.pendingY += step.y;
      s.pendingTime = timestamp;
      return 0;
    }
  }
  s.smoothV *= 0.5;
  s.lastStepX = s.lastStepY = 0;
  return 0;
}

int multitouchDeviceCount(HelperState& state) {
  return state.system.multitouch.registryDeviceCount();
}

}  // namespace quillon
