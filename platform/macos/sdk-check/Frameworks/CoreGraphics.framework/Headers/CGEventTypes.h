// Declarations for compile-checking only; never shipped or used on a Mac.
#pragma once

#include <CoreGraphics/CGBase.h>

// Apple: CoreGraphics/CGEventTypes.h
typedef struct CF_BRIDGED_TYPE(id) __CGEvent* CGEventRef;
typedef struct __CGEventTapProxy* CGEventTapProxy;
typedef uint64_t CGEventMask;

// Apple: CoreGraphics/CGEventTypes.h
typedef CF_ENUM(uint32_t, CGEventType) {
  kCGEventMouseMoved = 5,                       // Apple: CoreGraphics/CGEventTypes.h, CGEventType
  kCGEventLeftMouseDragged = 6,                 // Apple: CoreGraphics/CGEventTypes.h, CGEventType
  kCGEventRightMouseDragged = 7,                // Apple: CoreGraphics/CGEventTypes.h, CGEventType
  kCGEventScrollWheel = 22,                     // Apple: CoreGraphics/CGEventTypes.h, CGEventType
  kCGEventOtherMouseDragged = 27,               // Apple: CoreGraphics/CGEventTypes.h, CGEventType
  kCGEventTapDisabledByTimeout = 0xFFFFFFFE,    // Apple: CoreGraphics/CGEventTypes.h, CGEventType
  kCGEventTapDisabledByUserInput = 0xFFFFFFFF,  // Apple: CoreGraphics/CGEventTypes.h, CGEventType
};

// Apple: CoreGraphics/CGEventTypes.h
typedef CF_ENUM(uint32_t, CGEventField) {
  kCGMouseEventDeltaX = 4,                    // Apple: CoreGraphics/CGEventTypes.h, CGEventField
  kCGMouseEventDeltaY = 5,                    // Apple: CoreGraphics/CGEventTypes.h, CGEventField
  kCGMouseEventSubtype = 7,                   // Apple: CoreGraphics/CGEventTypes.h, CGEventField
  kCGScrollWheelEventDeltaAxis1 = 11,         // Apple: CoreGraphics/CGEventTypes.h, CGEventField
  kCGScrollWheelEventDeltaAxis2 = 12,         // Apple: CoreGraphics/CGEventTypes.h, CGEventField
  kCGScrollWheelEventIsContinuous = 88,       // Apple: CoreGraphics/CGEventTypes.h, CGEventField
  kCGScrollWheelEventFixedPtDeltaAxis1 = 93,  // Apple: CoreGraphics/CGEventTypes.h, CGEventField
  kCGScrollWheelEventFixedPtDeltaAxis2 = 94,  // Apple: CoreGraphics/CGEventTypes.h, CGEventField
  kCGScrollWheelEventPointDeltaAxis1 = 96,    // Apple: CoreGraphics/CGEventTypes.h, CGEventField
  kCGScrollWheelEventPointDeltaAxis2 = 97,    // Apple: CoreGraphics/CGEventTypes.h, CGEventField
  kCGScrollWheelEventMomentumPhase = 123,     // Apple: CoreGraphics/CGEventTypes.h, CGEventField
};

// Apple: CoreGraphics/CGEventTypes.h
// The documented subtypes stop at the tablet ones; trackpad motion arrives
// with subtype 3, which Apple does not name (see docs/macos.md).
typedef CF_ENUM(uint32_t, CGEventMouseSubtype) {
  kCGEventMouseSubtypeDefault = 0,  // Apple: CoreGraphics/CGEventTypes.h, CGEventMouseSubtype
};

// Apple: CoreGraphics/CGEventTypes.h
typedef CF_ENUM(uint32_t, CGEventTapLocation) {
  kCGHIDEventTap = 0,  // Apple: CoreGraphics/CGEventTypes.h, CGEventTapLocation
};
typedef CF_ENUM(uint32_t, CGEventTapPlacement) {
  kCGHeadInsertEventTap = 0,  // Apple: CoreGraphics/CGEventTypes.h, CGEventTapPlacement
  kCGTailAppendEventTap = 1,  // Apple: CoreGraphics/CGEventTypes.h, CGEventTapPlacement
};
typedef CF_ENUM(uint32_t, CGEventTapOptions) {
  kCGEventTapOptionDefault = 0x00000000,  // Apple: CoreGraphics/CGEventTypes.h, CGEventTapOptions
};
typedef CGEventRef (*CGEventTapCallBack)(CGEventTapProxy proxy, CGEventType type, CGEventRef event,
                                         void* userInfo);
