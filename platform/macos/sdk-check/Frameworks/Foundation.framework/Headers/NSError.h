// Declarations for compile-checking only; never shipped or used on a Mac.
#pragma once

#include <Foundation/NSObject.h>

@class NSString;

// Apple: Foundation/NSError.h
@interface NSError : NSObject <NSCopying>
@property(readonly, copy) NSString* localizedDescription;
@end
