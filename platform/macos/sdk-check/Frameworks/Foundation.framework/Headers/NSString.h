// Declarations for compile-checking only; never shipped or used on a Mac.
#pragma once

#include <Foundation/NSObject.h>

// Apple: Foundation/NSString.h
typedef NSUInteger NSStringEncoding;
enum : NSStringEncoding {
  NSUTF8StringEncoding = 4,  // Apple: Foundation/NSString.h, NSStringEncoding
};
@interface NSString : NSObject <NSCopying>
+ (instancetype)stringWithUTF8String:(const char*)nullTerminatedCString;
// Nil when the bytes are not valid in the encoding.
- (instancetype)initWithBytes:(const void*)bytes
                       length:(NSUInteger)len
                     encoding:(NSStringEncoding)encoding;
- (BOOL)isEqualToString:(NSString*)aString;
@property(readonly) const char* UTF8String __attribute__((objc_returns_inner_pointer));
@end
