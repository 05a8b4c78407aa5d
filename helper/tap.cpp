#include "helper/tap.h"

#include <algorithm>
#include <cmath>
#include <mutex>

#include "helper/plane.h"
#include "helper/pointer.h"
#include "helper/scroll.h"

namespace quillon {

namespace {

namespace et = platform::event_type;
namespace field = platform::field;

// The motion events the helper moves itself; the tap also takes scrolling.
constexpr uint64_t kMovedMask =
    platform::eventMaskBit(et::kMouseMoved) | platform::eventMaskBit(et::kLeftMouseDragged) |
    platform::eventMaskBit(et::kRightMouseDragged) | platform::eventMaskBit(et::kOtherMouseDragged);
constexpr uint64_t kTapMask = kMovedMask | platform::eventMaskBit(et::kScrollWheel);

constexpr int64_t kSubtypeMouse = 0;
constexpr int64_t kSubtypeTrackpad = 3;

// A trackpad event this long after the previous one applies only the
// latest frame's step: the frames before it belong to movement the system
// has already shown.
constexpr double kTrackpadPauseS = 0.04;
// No finger moved in the latest 50 ms of frames: the hand rests, although
// the system still sends motion.
constexpr double kTrackpadStillS = 0.05;

// Mouse intervals are clamped so that a burst (events < 1 ms apart) or the
// first event after a pause does not give an absurd hand speed.
constexpr double kMinMouseDtS = 0.001;
constexpr double kMaxMouseDtS = 0.05;

bool isMovedType(uint32_t type) {
  return type < 64 && ((kMovedMask >> type) & 1) != 0;
}

}  // namespace

bool startTap(HelperState& state) {
  platform::EventTaps& taps = state.system.taps;
  platform::TapPort port =
      taps.createTap(platform::TapPlacement::head, kTapMask, tapCallback, &state);
  if (port == nullptr) return false;
  state.main.tapPort = port;
  taps.addToMainRunLoop(port);
  taps.enable(port, true);
  return true;
}

platform::EventRef tapCallback(void* context, uint32_t type, platform::EventRef event) {
  if (context == nullptr) return event;
  return handle(*static_cast<HelperState*>(context), type, event);
}

platform::EventRef handle(HelperState& state, uint32_t type, platform::EventRef event) {
  if (type == et::kTapDisabledByTimeout || type == et::kTapDisabledByUserInput) {
    // The system switched the tap off (slow callback, or secure input).
    if (state.main.tapPort != nullptr) state.system.taps.enable(state.main.tapPort, true);
    return event;
  }
  if (event == nullptr) return event;
  if (type == et::kScrollWheel) return handleScroll(state, event);
  if (!isMovedType(type)) return event;

  const int64_t subtype = state.system.taps.integerField(event, field::kMouseEventSubtype);
  if (subtype == kSubtypeMouse) return handleMouseMove(state, event);
  if (subtype == kSubtypeTrackpad) return handleTrackpadMove(state, event);
  // A tablet or another absolute device: it knows where the pointer goes.
  followEventLocation(state, event);
  return event;
}

platform::EventRef handleMouseMove(HelperState& state, platform::EventRef event) {
  MainState& m = state.main;
  // Curves are replaced only on the main thread, which keeps the old ones
  // alive: a plain pointer stays valid for this event and costs no atomic
  // reference count.
  const Curve* curve = nullptr;
  double countsPerMM = 0;
  DisplayInfo display;
  {
    std::lock_guard guard(state.lock);
    curve = state.shared.mouseCurve.get();
    countsPerMM = state.shared.mouseCPMM;
    display = state.shared.display;
  }

  if (curve == nullptr) {
    // Counts collected while macOS moves the mouse must not surface later.
    m.mouseCountX = m.mouseCountY = 0;
    followEventLocation(state, event);
    return event;
  }

  double cx = m.mouseCountX;
  double cy = m.mouseCountY;
  m.mouseCountX = m.mouseCountY = 0;
  if (!m.hidWorking) {
    // No raw reports (Input Monitoring refused): the system's deltas are
    // the best counts there are.
    platform::EventTaps& taps = state.system.taps;
    cx = static_cast<double>(taps.integerField(event, field::kMouseEventDeltaX));
    cy = static_cast<double>(taps.integerField(event, field::kMouseEventDeltaY));
  }

  const double now = state.system.clock.uptime();
  double dt = now - m.lastMouseMove;
  dt = dt <= kMinMouseDtS ? kMinMouseDtS : std::min(dt, kMaxMouseDtS);
  m.lastMouseMove = now;

  const double mx = cx / countsPerMM;  // mm
  const double my = cy / countsPerMM;
  m.mouseSmoothV = m.mouseSmoothV * 0.5 + (planeLength(mx, my) / dt) * 0.5;
  // One absurd report must not stick in the smoothing for good.
  if (!std::isfinite(m.mouseSmoothV)) m.mouseSmoothV = 0;

  const double gain = curve->ptsPerMM(m.mouseSmoothV, display);
  movePointer(state, event, mx * gain, my * gain, display.bounds);
  return event;
}

platform::EventRef handleTrackpadMove(HelperState& state, platform::EventRef event) {
  MainState& m = state.main;
  const double now = state.system.clock.uptime();
  const double prev = m.lastTrackpadMove;
  m.lastTrackpadMove = now;

  bool hasCurve = false;
  int64_t framesSeen = 0;
  double dx = 0, dy = 0, lastFrameTime = 0, pendingTime = 0;
  Rect displayBounds;
  {
    std::lock_guard guard(state.lock);
    Guarded& s = state.shared;
    hasCurve = s.trackpadCurve != nullptr;
    framesSeen = s.framesSeen;
    if (prev == 0 || now - prev > kTrackpadPauseS) {
      dx = s.lastStepX;
      dy = s.lastStepY;
    } else {
      dx = s.pendingX;
      dy = s.pendingY;
    }
    lastFrameTime = s.lastFrameTime;
    pendingTime = s.pendingTime;
    s.pendingX = s.pendingY = 0;
    displayBounds = s.display.bounds;
  }

  if (!hasCurve || framesSeen == 0) {
    // No curve, or no trackpad being read: macOS moves the pointer.
    followEventLocation(state, event);
    return event;
  }
  if (lastFrameTime - pendingTime > kTrackpadStillS) dx = dy = 0;
  movePointer(state, event, dx, dy, displayBounds);
  return event;
}

void onDisplayReconfiguration(HelperState& state, bool beginning) {
  if (beginning) return;
  state.screens.refreshScreens();
  // Looked up before taking `lock`: the lookup takes the display list's
  // own mutex.
  const DisplayInfo display = state.screens.displayInfo(state.main.cur);
  std::lock_guard guard(state.lock);
  state.shared.display = display;
}

}  // namespace quillon
