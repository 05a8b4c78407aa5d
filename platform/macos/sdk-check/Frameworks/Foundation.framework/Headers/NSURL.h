// Declarations for compile-checking only; never shipped or used on a Mac.
#pragma once

#include <Foundation/NSObject.h>

@class NSString;
@class NSError;

// Apple: Foundation/NSURL.h
typedef NSString* NSURLResourceKey;
FOUNDATION_EXPORT NSURLResourceKey const NSURLVolumeIsReadOnlyKey;
@interface NSURL : NSObject <NSCopying>
// Nil when the text is not a valid URL.
+ (instancetype)URLWithString:(NSString*)URLString;
+ (NSURL*)fileURLWithPath:(NSString*)path;
- (BOOL)getResourceValue:(out id*)value forKey:(NSURLResourceKey)key error:(out NSError**)error;
@property(readonly, copy) NSString* path;
@end
