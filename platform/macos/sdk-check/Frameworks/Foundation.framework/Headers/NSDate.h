// Declarations for compile-checking only; never shipped or used on a Mac.
#pragma once

#include <Foundation/NSObjCRuntime.h>

// Apple: Foundation/NSDate.h
typedef double NSTimeInterval;
