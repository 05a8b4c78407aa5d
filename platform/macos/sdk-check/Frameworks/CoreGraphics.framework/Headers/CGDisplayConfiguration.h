// Declarations for compile-checking only; never shipped or used on a Mac.
#pragma once

#include <CoreGraphics/CGBase.h>
#include <CoreGraphics/CGDirectDisplay.h>
#include <CoreGraphics/CGError.h>
#include <mach/boolean.h>

CF_EXTERN_C_BEGIN

// Apple: CoreGraphics/CGDisplayConfiguration.h
CG_EXTERN CGSize CGDisplayScreenSize(CGDirectDisplayID display);
CG_EXTERN boolean_t CGDisplayIsBuiltin(CGDirectDisplayID display);

// Apple: CoreGraphics/CGDisplayConfiguration.h
typedef CF_OPTIONS(uint32_t, CGDisplayChangeSummaryFlags) {
  kCGDisplayBeginConfigurationFlag = (1 << 0),  // Apple: CoreGraphics/CGDisplayConfiguration.h
};
// Called once for each display that the change affects.
typedef void (*CGDisplayReconfigurationCallBack)(CGDirectDisplayID display,
                                                 CGDisplayChangeSummaryFlags flags, void* userInfo);
CG_EXTERN CGError
CGDisplayRegisterReconfigurationCallback(CGDisplayReconfigurationCallBack callback, void* userInfo);
CG_EXTERN CGError CGDisplayRemoveReconfigurationCallback(CGDisplayReconfigurationCallBack callback,
                                                         void* userInfo);

CF_EXTERN_C_END
