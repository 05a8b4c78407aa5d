// Declarations for compile-checking only; never shipped or used on a Mac.
#pragma once

#import <AppKit/NSView.h>

// Apple: AppKit/NSControl.h
@interface NSControl : NSView
@property(weak) id target;
@property SEL action;
@end
