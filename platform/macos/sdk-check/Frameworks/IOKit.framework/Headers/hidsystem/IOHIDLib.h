// Declarations for compile-checking only; never shipped or used on a Mac.
// The listen-event (Input Monitoring) and post-event access calls of
// macOS 10.15. Not reached from <IOKit/hid/IOHIDLib.h>.
#pragma once

#include <CoreFoundation/CoreFoundation.h>
#include <IOKit/IOKitLib.h>
#include <stdbool.h>

CF_EXTERN_C_BEGIN

// UNSURE: IOKit/hidsystem/IOHIDLib.h; the two enums were written from
// memory; the adapters compare only with the named constants, and
// sdk_values.mm asserts the numbers on the Mac.
typedef enum {
  kIOHIDRequestTypePostEvent = 0,    // UNSURE: IOKit/hidsystem/IOHIDLib.h, IOHIDRequestType
  kIOHIDRequestTypeListenEvent = 1,  // UNSURE: IOKit/hidsystem/IOHIDLib.h, IOHIDRequestType
} IOHIDRequestType;
typedef enum {
  kIOHIDAccessTypeGranted = 0,  // UNSURE: IOKit/hidsystem/IOHIDLib.h, IOHIDAccessType
  kIOHIDAccessTypeDenied = 1,   // UNSURE: IOKit/hidsystem/IOHIDLib.h, IOHIDAccessType
  kIOHIDAccessTypeUnknown = 2,  // UNSURE: IOKit/hidsystem/IOHIDLib.h, IOHIDAccessType
} IOHIDAccessType;

// Apple: IOKit/hidsystem/IOHIDLib.h
IOHIDAccessType IOHIDCheckAccess(IOHIDRequestType requestType) API_AVAILABLE(macos(10.15));
bool IOHIDRequestAccess(IOHIDRequestType requestType) API_AVAILABLE(macos(10.15));

CF_EXTERN_C_END
