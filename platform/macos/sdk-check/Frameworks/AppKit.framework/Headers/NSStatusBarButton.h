// Declarations for compile-checking only; never shipped or used on a Mac.
#pragma once

#import <AppKit/NSButton.h>

// Apple: AppKit/NSStatusBarButton.h
@interface NSStatusBarButton : NSButton
@end
