// Declarations for compile-checking only; never shipped or used on a Mac.
#pragma once

#include <CoreFoundation/CoreFoundation.h>
#include <objc/NSObject.h>

// Apple: Foundation/NSObjCRuntime.h
#define FOUNDATION_EXPORT extern
#define NS_ENUM(_type, _name) CF_ENUM(_type, _name)
#define NS_OPTIONS(_type, _name) CF_OPTIONS(_type, _name)
typedef long NSInteger;
typedef unsigned long NSUInteger;
