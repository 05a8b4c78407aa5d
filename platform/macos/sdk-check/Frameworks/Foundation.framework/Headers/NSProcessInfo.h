// Declarations for compile-checking only; never shipped or used on a Mac.
#pragma once

#include <Foundation/NSDate.h>
#include <Foundation/NSObject.h>

@class NSString;

// Apple: Foundation/NSProcessInfo.h
@interface NSProcessInfo : NSObject
@property(class, readonly, strong) NSProcessInfo* processInfo;
@property(readonly) NSTimeInterval systemUptime;
@property(readonly, copy) NSString* operatingSystemVersionString;
@end
