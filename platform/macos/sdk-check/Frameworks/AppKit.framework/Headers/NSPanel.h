// Declarations for compile-checking only; never shipped or used on a Mac.
#pragma once

#import <AppKit/NSWindow.h>

// Apple: AppKit/NSPanel.h
@interface NSPanel : NSWindow
@end
