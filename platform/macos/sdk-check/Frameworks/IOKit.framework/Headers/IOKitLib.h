// Declarations for compile-checking only; never shipped or used on a Mac.
// The IOKit registry calls the adapters use.
#pragma once

#include <CoreFoundation/CoreFoundation.h>
#include <IOKit/IOReturn.h>
#include <IOKit/IOTypes.h>
#include <mach/mach_types.h>

CF_EXTERN_C_BEGIN

// Apple: IOKit/IOKitLib.h
// Replaces kIOMasterPortDefault from macOS 12 on.
extern const mach_port_t kIOMainPortDefault API_AVAILABLE(macos(12.0));
CFMutableDictionaryRef IOServiceMatching(const char* name);
// Consumes one reference to `matching`.
kern_return_t IOServiceGetMatchingServices(mach_port_t mainPort, CFDictionaryRef matching,
                                           io_iterator_t* existing);
io_object_t IOIteratorNext(io_iterator_t iterator);
kern_return_t IOObjectRelease(io_object_t object);

CF_EXTERN_C_END
