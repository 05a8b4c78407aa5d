#pragma once

// IOKit's HID event-system client and the older event-status calls, which
// push pointer speed and acceleration into the running HID system. Apple
// documents none of them for applications, so they are declared here, in
// this one file, as IOKit exports them; docs/macos.md lists how to check
// them on each new macOS release. This file never meets IOKit's own
// hidsystem headers (nothing here includes them), so the two cannot
// disagree at compile time.
//
// UNSURE: the signatures follow IOKit's exports as used in practice; they
// could not be checked against a Mac from the machine this was written on.

#include <CoreFoundation/CoreFoundation.h>
#include <mach/mach_types.h>

extern "C" {

typedef struct __IOHIDEventSystemClient* IOHIDEventSystemClientRef;
typedef struct __IOHIDServiceClient* IOHIDServiceClientRef;

// Linked from IOKit.framework.
IOHIDEventSystemClientRef IOHIDEventSystemClientCreateSimpleClient(CFAllocatorRef allocator);
Boolean IOHIDEventSystemClientSetProperty(IOHIDEventSystemClientRef client, CFStringRef key,
                                          CFTypeRef property);
// An array of IOHIDServiceClientRef; the caller releases it.
CFArrayRef IOHIDEventSystemClientCopyServices(IOHIDEventSystemClientRef client);
CFTypeRef IOHIDServiceClientCopyProperty(IOHIDServiceClientRef service, CFStringRef key);
Boolean IOHIDServiceClientSetProperty(IOHIDServiceClientRef service, CFStringRef key,
                                      CFTypeRef property);
// A CFNumber owned by the service (not retained for the caller).
CFTypeRef IOHIDServiceClientGetRegistryID(IOHIDServiceClientRef service);

}  // extern "C"

namespace quillon::platform::macos::event_status {

// Looked up by name at run time in kIOKitPath: recent macOS releases may
// drop them, and a missing one only skips the older call.
inline constexpr const char* kIOKitPath = "/System/Library/Frameworks/IOKit.framework/IOKit";

// An io_connect_t to the HID system; 0 when it could not be opened.
using Handle = mach_port_t;
// NXOpenEventStatus, NXCloseEventStatus.
using OpenFn = Handle (*)();
using CloseFn = void (*)(Handle);
// IOHIDSetAccelerationWithKey(handle, key, acceleration).
using SetAccelerationFn = kern_return_t (*)(Handle, CFStringRef, double);
// IOHIDSetCFTypeParameter(handle, key, value).
using SetParameterFn = kern_return_t (*)(Handle, CFStringRef, CFTypeRef);

}  // namespace quillon::platform::macos::event_status
