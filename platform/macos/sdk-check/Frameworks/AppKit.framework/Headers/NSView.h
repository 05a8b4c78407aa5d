// Declarations for compile-checking only; never shipped or used on a Mac.
#pragma once

#import <AppKit/NSResponder.h>

@class NSScreen;
@class NSWindow;

// Apple: AppKit/NSView.h
@interface NSView : NSResponder
@property(readonly, unsafe_unretained) NSWindow* window;
@property NSRect bounds;
- (NSRect)convertRect:(NSRect)rect toView:(NSView*)view;
@end
