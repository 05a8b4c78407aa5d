// Declarations for compile-checking only; never shipped or used on a Mac.
#pragma once

#include <CoreGraphics/CGBase.h>
#include <CoreGraphics/CGEventTypes.h>
#include <CoreGraphics/CGGeometry.h>

CF_EXTERN_C_BEGIN

// Apple: CoreGraphics/CGEvent.h
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

CF_EXTERN_C_END
