// Declarations for compile-checking only; never shipped or used on a Mac.
#pragma once

#include <Foundation/NSObjCRuntime.h>
#include <objc/NSObject.h>

// Apple: Foundation/NSObject.h
@protocol NSCopying
- (id)copyWithZone:(struct _NSZone*)zone;
@end
