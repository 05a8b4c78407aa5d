// Declarations for compile-checking only; never shipped or used on a Mac.
// The HID object types and callbacks.
#pragma once

#include <CoreFoundation/CoreFoundation.h>
#include <IOKit/IOKitLib.h>
#include <IOKit/hid/IOHIDKeys.h>

CF_EXTERN_C_BEGIN

// Apple: IOKit/hid/IOHIDBase.h
typedef struct CF_BRIDGED_TYPE(id) __IOHIDDevice* IOHIDDeviceRef;
typedef struct CF_BRIDGED_TYPE(id) __IOHIDElement* IOHIDElementRef;
typedef struct CF_BRIDGED_TYPE(id) __IOHIDValue* IOHIDValueRef;
typedef void (*IOHIDValueCallback)(void* context, IOReturn result, void* sender,
                                   IOHIDValueRef value);
typedef void (*IOHIDDeviceCallback)(void* context, IOReturn result, void* sender,
                                    IOHIDDeviceRef device);

CF_EXTERN_C_END
