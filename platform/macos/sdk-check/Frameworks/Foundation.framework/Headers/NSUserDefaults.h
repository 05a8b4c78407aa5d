// Declarations for compile-checking only; never shipped or used on a Mac.
#pragma once

#include <Foundation/NSObject.h>

@class NSString;

// Apple: Foundation/NSUserDefaults.h
@interface NSUserDefaults : NSObject
@property(class, readonly, strong) NSUserDefaults* standardUserDefaults;
// Nil for the app's own identifier and for NSGlobalDomain.
- (instancetype)initWithSuiteName:(NSString*)suitename;
- (id)objectForKey:(NSString*)defaultName;
- (void)setObject:(id)value forKey:(NSString*)defaultName;
- (void)setBool:(BOOL)value forKey:(NSString*)defaultName;
- (void)setInteger:(NSInteger)value forKey:(NSString*)defaultName;
- (void)removeObjectForKey:(NSString*)defaultName;
- (void)removePersistentDomainForName:(NSString*)domainName;
@end
