// Declarations for compile-checking only; never shipped or used on a Mac.
#pragma once

#include <CoreFoundation/CFRunLoop.h>

CF_EXTERN_C_BEGIN

// Apple: CoreFoundation/CFMachPort.h
typedef struct CF_BRIDGED_MUTABLE_TYPE(NSMachPort) __CFMachPort* CFMachPortRef;
CF_EXPORT CFRunLoopSourceRef CFMachPortCreateRunLoopSource(CFAllocatorRef allocator,
                                                           CFMachPortRef port, CFIndex order);
CF_EXPORT void CFMachPortInvalidate(CFMachPortRef port);

CF_EXTERN_C_END
