// Declarations for compile-checking only; never shipped or used on a Mac.
#pragma once

#include <Foundation/NSObject.h>

@class NSString;

// Apple: Foundation/NSFileManager.h
@interface NSFileManager : NSObject
@property(class, readonly, strong) NSFileManager* defaultManager;
- (BOOL)isWritableFileAtPath:(NSString*)path;
@end
