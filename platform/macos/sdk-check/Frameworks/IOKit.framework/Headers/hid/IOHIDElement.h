// Declarations for compile-checking only; never shipped or used on a Mac.
#pragma once

#include <IOKit/hid/IOHIDBase.h>

CF_EXTERN_C_BEGIN

// Apple: IOKit/hid/IOHIDElement.h
IOHIDDeviceRef IOHIDElementGetDevice(IOHIDElementRef element);
uint32_t IOHIDElementGetUsagePage(IOHIDElementRef element);
uint32_t IOHIDElementGetUsage(IOHIDElementRef element);

CF_EXTERN_C_END
