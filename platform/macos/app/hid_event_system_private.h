#pragma once

// The HID event-system client, which pushes pointer speed and acceleration
// into the running HID system, and the older event-status calls that do the
// same on releases where the client alone does not take. The SDK declares
// the client in IOKit/hidsystem/IOHIDEventSystemClient.h and
// IOHIDServiceClient.h, included here, but Apple documents none of it for
// applications; the event-status calls are looked up at run time, with the
// types below. docs/macos.md lists how to check both on each new macOS
// release.

#include <CoreFoundation/CoreFoundation.h>
#include <IOKit/hidsystem/IOHIDEventSystemClient.h>
#include <IOKit/hidsystem/IOHIDServiceClient.h>
#include <mach/mach_types.h>

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
