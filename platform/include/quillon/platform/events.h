#pragma once

#include <cstdint>

#include "quillon/platform/geometry.h"

namespace quillon::platform {

// An event as the tap sees it (CGEventRef on macOS). Opaque to the core.
using EventRef = void*;
using TapPort = void*;  // CFMachPortRef on macOS

// Core Graphics event type numbers.
namespace event_type {
constexpr uint32_t kMouseMoved = 5;
constexpr uint32_t kLeftMouseDragged = 6;
constexpr uint32_t kRightMouseDragged = 7;
constexpr uint32_t kScrollWheel = 22;
constexpr uint32_t kOtherMouseDragged = 27;
constexpr uint32_t kTapDisabledByTimeout = 0xFFFFFFFE;
constexpr uint32_t kTapDisabledByUserInput = 0xFFFFFFFF;
}  // namespace event_type

// Core Graphics event field numbers.
namespace field {
constexpr int kMouseEventDeltaX = 4;
constexpr int kMouseEventDeltaY = 5;
constexpr int kMouseEventSubtype = 7;  // 0 mouse, 3 trackpad
constexpr int kScrollDeltaAxis1 = 11;  // lines
constexpr int kScrollDeltaAxis2 = 12;
constexpr int kScrollIsContinuous = 88;
constexpr int kScrollFixedPtDeltaAxis1 = 93;  // lines, as a double
constexpr int kScrollFixedPtDeltaAxis2 = 94;
constexpr int kScrollPointDeltaAxis1 = 96;  // points
constexpr int kScrollPointDeltaAxis2 = 97;
constexpr int kScrollMomentumPhase = 123;
}  // namespace field

constexpr uint64_t eventMaskBit(uint32_t type) {
  return uint64_t{1} << type;
}

enum class TapPlacement { head, tail };

// Runs on the main run loop for every event of the tap's mask. Returns the
// event to pass on.
using TapCallback = EventRef (*)(void* context, uint32_t type, EventRef event);

// CGEventTapCreate at the HID level (active taps only), CGEventTapEnable,
// CFMachPortInvalidate, and the event field accessors.
class EventTaps {
 public:
  virtual ~EventTaps() = default;
  // Null when the system refuses the tap (no Accessibility permission).
  virtual TapPort createTap(TapPlacement placement, uint64_t eventMask, TapCallback callback,
                            void* context) = 0;
  // Adds the tap's run loop source to the main run loop in the common modes.
  virtual void addToMainRunLoop(TapPort port) = 0;
  virtual void enable(TapPort port, bool on) = 0;
  virtual void invalidate(TapPort port) = 0;

  virtual int64_t integerField(EventRef event, int field) const = 0;
  virtual void setIntegerField(EventRef event, int field, int64_t value) = 0;
  virtual double doubleField(EventRef event, int field) const = 0;
  virtual void setDoubleField(EventRef event, int field, double value) = 0;
  virtual Point location(EventRef event) const = 0;
  virtual void setLocation(EventRef event, Point p) = 0;
};

// CGWarpMouseCursorPosition and CGAssociateMouseAndMouseCursorPosition.
class Cursor {
 public:
  virtual ~Cursor() = default;
  virtual void warp(Point p) = 0;
  virtual void associateMouseAndCursor() = 0;
};

}  // namespace quillon::platform
