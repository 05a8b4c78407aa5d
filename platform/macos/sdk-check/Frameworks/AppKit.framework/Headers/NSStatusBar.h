// Declarations for compile-checking only; never shipped or used on a Mac.
#pragma once

#import <AppKit/AppKitDefines.h>
#import <AppKit/NSStatusItem.h>

// Apple: AppKit/NSStatusBar.h
// A static const CGFloat of -2 on the Mac; declared here without its value,
// since a floating-point constant cannot be asserted in sdk_values.mm.
APPKIT_EXTERN const CGFloat NSSquareStatusItemLength;

// Apple: AppKit/NSStatusBar.h
@interface NSStatusBar : NSObject
@property(class, readonly, strong) NSStatusBar* systemStatusBar;
- (NSStatusItem*)statusItemWithLength:(CGFloat)length;
- (void)removeStatusItem:(NSStatusItem*)item;
@end
