// Declarations for compile-checking only; never shipped or used on a Mac.
#pragma once

#include <IOKit/hid/IOHIDBase.h>

CF_EXTERN_C_BEGIN

// Apple: IOKit/hid/IOHIDDevice.h
CFTypeRef IOHIDDeviceGetProperty(IOHIDDeviceRef device, CFStringRef key);

CF_EXTERN_C_END
