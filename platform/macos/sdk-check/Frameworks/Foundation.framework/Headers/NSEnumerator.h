// Declarations for compile-checking only; never shipped or used on a Mac.
#pragma once

#include <Foundation/NSObjCRuntime.h>

// Apple: Foundation/NSEnumerator.h
typedef struct {
  unsigned long state;
  id __unsafe_unretained* itemsPtr;
  unsigned long* mutationsPtr;
  unsigned long extra[5];
} NSFastEnumerationState;
@protocol NSFastEnumeration
- (NSUInteger)countByEnumeratingWithState:(NSFastEnumerationState*)state
                                  objects:(id __unsafe_unretained[])buffer
                                    count:(NSUInteger)len;
@end
