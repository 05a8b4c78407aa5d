// Declarations for compile-checking only; never shipped or used on a Mac.
// The HID umbrella, and the Input Monitoring (listen-event) access calls of
// macOS 10.15.
#pragma once

#include <IOKit/hid/IOHIDBase.h>
#include <IOKit/hid/IOHIDDevice.h>
#include <IOKit/hid/IOHIDElement.h>
#include <IOKit/hid/IOHIDManager.h>
#include <IOKit/hid/IOHIDValue.h>
#include <stdbool.h>

CF_EXTERN_C_BEGIN

// UNSURE: the two enums below were written from memory of IOHIDLib.h
// (macOS 10.15); the adapters compare only with the named constants, and
// sdk_values.mm asserts the numbers on the Mac.
typedef enum {
  kIOHIDRequestTypePostEvent = 0,    // UNSURE: IOKit/hid/IOHIDLib.h, IOHIDRequestType
  kIOHIDRequestTypeListenEvent = 1,  // UNSURE: IOKit/hid/IOHIDLib.h, IOHIDRequestType
} IOHIDRequestType;
typedef enum {
  kIOHIDAccessTypeGranted = 0,  // UNSURE: IOKit/hid/IOHIDLib.h, IOHIDAccessType
  kIOHIDAccessTypeDenied = 1,   // UNSURE: IOKit/hid/IOHIDLib.h, IOHIDAccessType
  kIOHIDAccessTypeUnknown = 2,  // UNSURE: IOKit/hid/IOHIDLib.h, IOHIDAccessType
} IOHIDAccessType;

IOHIDAccessType IOHIDCheckAccess(IOHIDRequestType requestType) API_AVAILABLE(macos(10.15));
bool IOHIDRequestAccess(IOHIDRequestType requestType) API_AVAILABLE(macos(10.15));

CF_EXTERN_C_END
