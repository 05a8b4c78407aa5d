// Declarations for compile-checking only; never shipped or used on a Mac.
#pragma once

#include <Foundation/NSEnumerator.h>
#include <Foundation/NSObject.h>

// Apple: Foundation/NSDictionary.h
@interface NSDictionary<__covariant KeyType, __covariant ObjectType>
    : NSObject <NSCopying, NSFastEnumeration>
+ (instancetype)dictionaryWithObjects:(const ObjectType[])objects
                              forKeys:(const KeyType<NSCopying>[])keys
                                count:(NSUInteger)cnt;
@end
