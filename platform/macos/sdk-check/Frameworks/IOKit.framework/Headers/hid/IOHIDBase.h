// Declarations for compile-checking only; never shipped or used on a Mac.
// The HID object types and callbacks (IOKit/hid/IOHIDBase.h, IOHIDKeys.h).
#pragma once

#include <CoreFoundation/CoreFoundation.h>
#include <IOKit/IOKitLib.h>

CF_EXTERN_C_BEGIN

typedef struct CF_BRIDGED_TYPE(id) __IOHIDDevice* IOHIDDeviceRef;
typedef struct CF_BRIDGED_TYPE(id) __IOHIDElement* IOHIDElementRef;
typedef struct CF_BRIDGED_TYPE(id) __IOHIDValue* IOHIDValueRef;
typedef struct CF_BRIDGED_TYPE(id) __IOHIDManager* IOHIDManagerRef;

typedef void (*IOHIDValueCallback)(void* context, IOReturn result, void* sender,
                                   IOHIDValueRef value);
typedef void (*IOHIDDeviceCallback)(void* context, IOReturn result, void* sender,
                                    IOHIDDeviceRef device);

enum {
  kIOHIDOptionsTypeNone = 0x00,  // Apple: IOKit/hid/IOHIDKeys.h, IOHIDOptionsType
};

CF_EXTERN_C_END
