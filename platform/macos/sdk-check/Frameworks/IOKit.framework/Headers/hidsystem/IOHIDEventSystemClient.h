// Declarations for compile-checking only; never shipped or used on a Mac.
// The HID event-system client: declared by the SDK, though Apple documents
// none of it for applications (docs/macos.md says how it is checked).
#pragma once

#include <CoreFoundation/CoreFoundation.h>

CF_EXTERN_C_BEGIN

// UNSURE: IOKit/hidsystem/IOHIDEventSystemClient.h; the header's name is
// Apple's, its folder and the signatures were written from IOKit's exports
// as used in practice, and the macOS build checks them against the SDK.
typedef struct CF_BRIDGED_TYPE(id) __IOHIDEventSystemClient* IOHIDEventSystemClientRef;
IOHIDEventSystemClientRef IOHIDEventSystemClientCreateSimpleClient(CFAllocatorRef allocator);
Boolean IOHIDEventSystemClientSetProperty(IOHIDEventSystemClientRef client, CFStringRef key,
                                          CFTypeRef property);
// An array of IOHIDServiceClientRef; the caller releases it.
CFArrayRef IOHIDEventSystemClientCopyServices(IOHIDEventSystemClientRef client);

CF_EXTERN_C_END
