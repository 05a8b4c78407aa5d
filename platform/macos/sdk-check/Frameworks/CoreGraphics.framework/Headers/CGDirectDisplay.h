// Declarations for compile-checking only; never shipped or used on a Mac.
#pragma once

#include <CoreGraphics/CGBase.h>
#include <CoreGraphics/CGError.h>
#include <CoreGraphics/CGGeometry.h>

CF_EXTERN_C_BEGIN

// Apple: CoreGraphics/CGDirectDisplay.h
typedef uint32_t CGDirectDisplayID;
CG_EXTERN CGError CGGetActiveDisplayList(uint32_t maxDisplays, CGDirectDisplayID* activeDisplays,
                                         uint32_t* displayCount);
CG_EXTERN CGRect CGDisplayBounds(CGDirectDisplayID display);

CF_EXTERN_C_END
