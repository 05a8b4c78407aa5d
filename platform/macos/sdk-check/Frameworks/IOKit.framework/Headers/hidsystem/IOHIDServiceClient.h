// Declarations for compile-checking only; never shipped or used on a Mac.
// A HID service seen through the event-system client: declared by the SDK,
// though Apple documents none of it for applications.
#pragma once

#include <CoreFoundation/CoreFoundation.h>

CF_EXTERN_C_BEGIN

// UNSURE: IOKit/hidsystem/IOHIDServiceClient.h; the header's name is
// Apple's, its folder and the signatures were written from IOKit's exports
// as used in practice, and the macOS build checks them against the SDK.
typedef struct CF_BRIDGED_TYPE(id) __IOHIDServiceClient* IOHIDServiceClientRef;
CFTypeRef IOHIDServiceClientCopyProperty(IOHIDServiceClientRef service, CFStringRef key);
Boolean IOHIDServiceClientSetProperty(IOHIDServiceClientRef service, CFStringRef key,
                                      CFTypeRef property);
// A CFNumber owned by the service (not retained for the caller).
CFTypeRef IOHIDServiceClientGetRegistryID(IOHIDServiceClientRef service);

CF_EXTERN_C_END
