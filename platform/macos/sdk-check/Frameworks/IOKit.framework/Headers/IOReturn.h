// Declarations for compile-checking only; never shipped or used on a Mac.
#pragma once

#include <mach/kern_return.h>

// Apple: IOKit/IOReturn.h
typedef kern_return_t IOReturn;

#define kIOReturnSuccess KERN_SUCCESS  // Apple: IOKit/IOReturn.h
