// Declarations for compile-checking only; never shipped or used on a Mac.
#pragma once

#include <Foundation/NSObject.h>

@class NSString;
@class NSURL;

// Apple: Foundation/NSBundle.h
@interface NSBundle : NSObject
@property(class, readonly, strong) NSBundle* mainBundle;
@property(readonly, copy) NSURL* bundleURL;
@property(readonly, copy) NSString* bundlePath;
@property(readonly, copy) NSString* bundleIdentifier;
- (id)objectForInfoDictionaryKey:(NSString*)key;
@end
