#include "helper/scroll.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <mutex>

#include "helper/plane.h"

namespace quillon {

namespace {

namespace field = platform::field;

struct Axis {
  int line;   // integer, lines
  int point;  // integer, points
  int fixed;  // double, lines
};
constexpr Axis kScrollAxes[2] = {
    {field::kScrollDeltaAxis1, field::kScrollPointDeltaAxis1, field::kScrollFixedPtDeltaAxis1},
    {field::kScrollDeltaAxis2, field::kScrollPointDeltaAxis2, field::kScrollFixedPtDeltaAxis2},
};

constexpr double kLinesPerNotch = 3;
// Without a usable fixed-point delta, the system's usual line height.
constexpr double kDefaultPtsPerLine = 10;
// A trackpad scroll with no finger on any pad this long is a mouse's
// (a Magic Mouse scrolls continuously too).
constexpr double kPadIdleS = 0.3;
// Two-finger movement older than this (in frame time) is not this gesture's.
constexpr double kScrollMoveMaxAgeS = 0.05;
constexpr double kMaxTrackpadFactor = 4;
// The system's scroll deltas are 32-bit. Bounding what we write keeps the
// conversions to integers defined and a NaN out of every field.
constexpr double kDeltaLimit = std::numeric_limits<int32_t>::max();

double bounded(double v) {
  return std::isnan(v) ? 0 : std::clamp(v, -kDeltaLimit, kDeltaLimit);
}

// Halves away from zero: 2.5 -> 3, -2.5 -> -3.
int64_t roundedDelta(double v) {
  return static_cast<int64_t>(std::round(bounded(v)));
}

int64_t negated(int64_t v) {
  return v == std::numeric_limits<int64_t>::min() ? std::numeric_limits<int64_t>::max() : -v;
}

void removeWheelAcceleration(platform::EventTaps& taps, platform::EventRef event) {
  for (const Axis& axis : kScrollAxes) {
    const int64_t d = taps.integerField(event, axis.line);
    const double f = taps.doubleField(event, axis.fixed);
    const double p = static_cast<double>(taps.integerField(event, axis.point));
    double sign = 0;
    if (d != 0) {
      sign = d > 0 ? 1 : -1;
    } else if (f > 0) {
      sign = 1;
    } else if (f < 0) {
      sign = -1;
    } else {
      continue;  // this axis did not scroll
    }
    // Keep the event's own line height, e.g. 24 points for 2 lines -> 12.
    const double ptsPerLine =
        std::abs(f) > 0.01 ? std::max(1.0, std::abs(p / f)) : kDefaultPtsPerLine;
    const double lines = kLinesPerNotch * sign;
    taps.setIntegerField(event, axis.line, static_cast<int64_t>(lines));
    taps.setDoubleField(event, axis.fixed, lines);
    taps.setIntegerField(event, axis.point, roundedDelta(ptsPerLine * lines));
  }
}

void removeTrackpadAcceleration(HelperState& state, platform::EventRef event) {
  platform::EventTaps& taps = state.system.taps;
  MainState& m = state.main;
  double factor = m.scrollRatio;
  // Momentum coasts on the gesture's last factor: no fingers move then.
  if (taps.integerField(event, field::kScrollMomentumPhase) == 0) {
    double mx = 0, my = 0, age = 0, ptsPerMM = 0;
    {
      std::lock_guard guard(state.lock);
      Guarded& s = state.shared;
      mx = s.scrollMoveX;
      my = s.scrollMoveY;
      age = s.lastFrameTime - s.scrollMoveTime;
      ptsPerMM = s.display.ptsPerMM;
      s.scrollMoveX = s.scrollMoveY = 0;
    }
    const double e =
        planeLength(static_cast<double>(taps.integerField(event, kScrollAxes[0].point)),
                    static_cast<double>(taps.integerField(event, kScrollAxes[1].point)));  // points
    if (!(age < kScrollMoveMaxAgeS) || !(e > 0)) return;
    factor = ptsPerMM * planeLength(mx, my) / e;
    factor = factor > 0 ? std::min(factor, kMaxTrackpadFactor) : 0;
    m.scrollRatio = factor;
  }
  scaleScroll(state, event, factor);
}

}  // namespace

platform::EventRef handleScroll(HelperState& state, platform::EventRef event) {
  platform::EventTaps& taps = state.system.taps;
  MainState& m = state.main;

  double lastPadTouch = 0;
  ScrollPrefs trackpad, mouse;
  {
    std::lock_guard guard(state.lock);
    lastPadTouch = state.shared.lastPadTouch;
    trackpad = state.shared.trackpadScroll;
    mouse = state.shared.mouseScroll;
  }

  bool fromTrackpad = m.lastScrollFromTrackpad;
  if (taps.integerField(event, field::kScrollMomentumPhase) == 0) {
    fromTrackpad = taps.integerField(event, field::kScrollIsContinuous) != 0;
    if (fromTrackpad && !m.padIDs.empty() &&
        state.system.clock.uptime() - lastPadTouch >= kPadIdleS) {
      fromTrackpad = false;
    }
    m.lastScrollFromTrackpad = fromTrackpad;
  }
  const ScrollPrefs& prefs = fromTrackpad ? trackpad : mouse;

  if (prefs.accelOff) removeScrollAcceleration(state, event, fromTrackpad);
  if (std::abs(prefs.speed - 1) > 0.001) scaleScroll(state, event, prefs.speed);
  if (prefs.natural != m.globalNatural) {
    // macOS has one direction for all devices; this device wants the other.
    for (const Axis& axis : kScrollAxes) {
      taps.setIntegerField(event, axis.line, negated(taps.integerField(event, axis.line)));
      taps.setDoubleField(event, axis.fixed, -taps.doubleField(event, axis.fixed));
      taps.setIntegerField(event, axis.point, negated(taps.integerField(event, axis.point)));
    }
  }
  return event;
}

void removeScrollAcceleration(HelperState& state, platform::EventRef event, bool fromTrackpad) {
  if (fromTrackpad) {
    removeTrackpadAcceleration(state, event);
  } else {
    removeWheelAcceleration(state.system.taps, event);
  }
}

void scaleScroll(HelperState& state, platform::EventRef event, double factor) {
  // No defined scroll distance; the event stays as the system made it.
  if (!std::isfinite(factor)) return;
  platform::EventTaps& taps = state.system.taps;
  for (size_t i = 0; i < 2; ++i) {
    const Axis& axis = kScrollAxes[i];
    double& carry = state.main.scrollCarry[i];
    // Points are whole: the fraction waits for the next event (speed 0.5 on
    // deltas of 1 gives 0, 1, 0, 1 ...), across devices too.
    const double x =
        bounded(static_cast<double>(taps.integerField(event, axis.point)) * factor + carry);
    const double whole = std::trunc(x);
    carry = x - whole;
    taps.setIntegerField(event, axis.point, static_cast<int64_t>(whole));

    const double fixed = bounded(taps.doubleField(event, axis.fixed) * factor);
    taps.setDoubleField(event, axis.fixed, fixed);
    taps.setIntegerField(event, axis.line, roundedDelta(fixed));
  }
}

}  // namespace quillon
