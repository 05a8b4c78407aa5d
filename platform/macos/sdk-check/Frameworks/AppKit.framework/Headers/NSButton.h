// Declarations for compile-checking only; never shipped or used on a Mac.
#pragma once

#import <AppKit/NSControl.h>
#import <AppKit/NSImage.h>

// Apple: AppKit/NSButton.h
@interface NSButton : NSControl
@property(strong) NSImage* image;
- (void)highlight:(BOOL)flag;
@end
