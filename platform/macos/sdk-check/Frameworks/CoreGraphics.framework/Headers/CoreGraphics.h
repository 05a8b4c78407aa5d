// Declarations for compile-checking only; never shipped or used on a Mac.
// Core Graphics' C interface as the adapters use it: geometry, event taps
// and event fields, the cursor, and the active displays.
#pragma once

#include <CoreFoundation/CoreFoundation.h>
#include <mach/mach_types.h>
#include <stdbool.h>
#include <stdint.h>

#define CG_EXTERN extern

CF_EXTERN_C_BEGIN

// Geometry (CGBase.h, CGGeometry.h): CGFloat is double in 64-bit processes.
typedef double CGFloat;
struct CGPoint {
  CGFloat x;
  CGFloat y;
};
typedef struct CGPoint CGPoint;
struct CGSize {
  CGFloat width;
  CGFloat height;
};
typedef struct CGSize CGSize;
struct CGRect {
  CGPoint origin;
  CGSize size;
};
typedef struct CGRect CGRect;
CF_INLINE CGPoint CGPointMake(CGFloat x, CGFloat y) {
  CGPoint p;
  p.x = x;
  p.y = y;
  return p;
}

typedef CF_ENUM(int32_t, CGError) {
  kCGErrorSuccess = 0,  // Apple: CGError.h, CGError
};

// Events (CGEventTypes.h, CGEvent.h).
typedef struct CF_BRIDGED_TYPE(id) __CGEvent* CGEventRef;
typedef struct __CGEventTapProxy* CGEventTapProxy;
typedef uint64_t CGEventMask;

typedef CF_ENUM(uint32_t, CGEventType) {
  kCGEventMouseMoved = 5,                       // Apple: CGEventTypes.h, CGEventType
  kCGEventLeftMouseDragged = 6,                 // Apple: CGEventTypes.h, CGEventType
  kCGEventRightMouseDragged = 7,                // Apple: CGEventTypes.h, CGEventType
  kCGEventScrollWheel = 22,                     // Apple: CGEventTypes.h, CGEventType
  kCGEventOtherMouseDragged = 27,               // Apple: CGEventTypes.h, CGEventType
  kCGEventTapDisabledByTimeout = 0xFFFFFFFE,    // Apple: CGEventTypes.h, CGEventType
  kCGEventTapDisabledByUserInput = 0xFFFFFFFF,  // Apple: CGEventTypes.h, CGEventType
};

typedef CF_ENUM(uint32_t, CGEventField) {
  kCGMouseEventDeltaX = 4,                    // Apple: CGEventTypes.h, CGEventField
  kCGMouseEventDeltaY = 5,                    // Apple: CGEventTypes.h, CGEventField
  kCGMouseEventSubtype = 7,                   // Apple: CGEventTypes.h, CGEventField
  kCGScrollWheelEventDeltaAxis1 = 11,         // Apple: CGEventTypes.h, CGEventField
  kCGScrollWheelEventDeltaAxis2 = 12,         // Apple: CGEventTypes.h, CGEventField
  kCGScrollWheelEventIsContinuous = 88,       // Apple: CGEventTypes.h, CGEventField
  kCGScrollWheelEventFixedPtDeltaAxis1 = 93,  // Apple: CGEventTypes.h, CGEventField
  kCGScrollWheelEventFixedPtDeltaAxis2 = 94,  // Apple: CGEventTypes.h, CGEventField
  kCGScrollWheelEventPointDeltaAxis1 = 96,    // Apple: CGEventTypes.h, CGEventField
  kCGScrollWheelEventPointDeltaAxis2 = 97,    // Apple: CGEventTypes.h, CGEventField
  kCGScrollWheelEventMomentumPhase = 123,     // Apple: CGEventTypes.h, CGEventField
};

// The documented subtypes stop at the tablet ones; trackpad motion arrives
// with subtype 3, which Apple does not name (see docs/macos.md).
typedef CF_ENUM(uint32_t, CGEventMouseSubtype) {
  kCGEventMouseSubtypeDefault = 0,  // Apple: CGEventTypes.h, CGEventMouseSubtype
};

typedef CF_ENUM(uint32_t, CGEventTapLocation) {
  kCGHIDEventTap = 0,  // Apple: CGEventTypes.h, CGEventTapLocation
};
typedef CF_ENUM(uint32_t, CGEventTapPlacement) {
  kCGHeadInsertEventTap = 0,  // Apple: CGEventTypes.h, CGEventTapPlacement
  kCGTailAppendEventTap = 1,  // Apple: CGEventTypes.h, CGEventTapPlacement
};
typedef CF_ENUM(uint32_t, CGEventTapOptions) {
  kCGEventTapOptionDefault = 0x00000000,  // Apple: CGEventTypes.h, CGEventTapOptions
};

typedef CGEventRef (*CGEventTapCallBack)(CGEventTapProxy proxy, CGEventType type, CGEventRef event,
                                         void* userInfo);

CG_EXTERN CFMachPortRef CGEventTapCreate(CGEventTapLocation tap, CGEventTapPlacement place,
                                         CGEventTapOptions options, CGEventMask eventsOfInterest,
                                         CGEventTapCallBack callback, void* userInfo);
CG_EXTERN void CGEventTapEnable(CFMachPortRef tap, bool enable);

CG_EXTERN int64_t CGEventGetIntegerValueField(CGEventRef event, CGEventField field);
CG_EXTERN void CGEventSetIntegerValueField(CGEventRef event, CGEventField field, int64_t value);
CG_EXTERN double CGEventGetDoubleValueField(CGEventRef event, CGEventField field);
CG_EXTERN void CGEventSetDoubleValueField(CGEventRef event, CGEventField field, double value);
CG_EXTERN CGPoint CGEventGetLocation(CGEventRef event);
CG_EXTERN void CGEventSetLocation(CGEventRef event, CGPoint location);

// The cursor (CGRemoteOperation.h).
CG_EXTERN CGError CGWarpMouseCursorPosition(CGPoint newCursorPosition);
CG_EXTERN CGError CGAssociateMouseAndMouseCursorPosition(boolean_t connected);

// Displays (CGDirectDisplay.h, CGDisplayConfiguration.h).
typedef uint32_t CGDirectDisplayID;
CG_EXTERN CGError CGGetActiveDisplayList(uint32_t maxDisplays, CGDirectDisplayID* activeDisplays,
                                         uint32_t* displayCount);
CG_EXTERN CGRect CGDisplayBounds(CGDirectDisplayID display);
CG_EXTERN CGSize CGDisplayScreenSize(CGDirectDisplayID display);
CG_EXTERN boolean_t CGDisplayIsBuiltin(CGDirectDisplayID display);

typedef CF_OPTIONS(uint32_t, CGDisplayChangeSummaryFlags) {
  kCGDisplayBeginConfigurationFlag = (1 << 0),  // Apple: CGDisplayConfiguration.h
};
typedef void (*CGDisplayReconfigurationCallBack)(CGDirectDisplayID display,
                                                 CGDisplayChangeSummaryFlags flags, void* userInfo);
CG_EXTERN CGError
CGDisplayRegisterReconfigurationCallback(CGDisplayReconfigurationCallBack callback, void* userInfo);
CG_EXTERN CGError CGDisplayRemoveReconfigurationCallback(CGDisplayReconfigurationCallBack callback,
                                                         void* userInfo);

CF_EXTERN_C_END
