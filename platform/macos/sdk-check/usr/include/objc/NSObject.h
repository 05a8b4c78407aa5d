// Declarations for compile-checking only; never shipped or used on a Mac.
// The root class and protocol, as the Objective-C runtime declares them.
#pragma once

#include <objc/objc.h>

// Apple: objc/NSObject.h
@protocol NSObject
- (BOOL)isEqual:(id)object;
- (Class)class;
- (instancetype)self;
- (BOOL)isKindOfClass:(Class)aClass;
- (BOOL)respondsToSelector:(SEL)aSelector;
@end

// Apple: objc/NSObject.h
__attribute__((objc_root_class))
@interface NSObject<NSObject>
+ (instancetype)alloc;
+ (instancetype)new;
+ (Class)class;
- (instancetype)init;
@end
