// Declarations for compile-checking only; never shipped or used on a Mac.
#pragma once

#include <Foundation/NSObject.h>

// Apple: Foundation/NSData.h
@interface NSData : NSObject <NSCopying>
+ (instancetype)dataWithBytes:(const void*)bytes length:(NSUInteger)length;
@property(readonly) const void* bytes __attribute__((objc_returns_inner_pointer));
@property(readonly) NSUInteger length;
@end
