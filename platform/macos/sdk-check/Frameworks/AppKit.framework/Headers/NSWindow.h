// Declarations for compile-checking only; never shipped or used on a Mac.
#pragma once

#import <AppKit/NSGraphics.h>
#import <AppKit/NSResponder.h>

@class NSScreen;
@class NSWindow;

// Apple: AppKit/NSWindow.h
typedef NSInteger NSWindowLevel;

// Apple: AppKit/NSWindow.h
typedef NS_OPTIONS(NSUInteger, NSWindowStyleMask) {
  NSWindowStyleMaskNonactivatingPanel = 1 << 7,  // Apple: AppKit/NSWindow.h, NSWindowStyleMask
};

// Apple: AppKit/NSWindow.h
typedef NS_OPTIONS(NSUInteger, NSWindowCollectionBehavior) {
  NSWindowCollectionBehaviorMoveToActiveSpace = 1 << 1,    // Apple: AppKit/NSWindow.h
  NSWindowCollectionBehaviorFullScreenAuxiliary = 1 << 8,  // Apple: AppKit/NSWindow.h
};

// Apple: AppKit/NSWindow.h
typedef NS_ENUM(NSInteger, NSWindowAnimationBehavior) {
  NSWindowAnimationBehaviorNone = 2,  // Apple: AppKit/NSWindow.h, NSWindowAnimationBehavior
};

// Apple: AppKit/NSWindow.h
@interface NSWindow : NSResponder
// The window server reads the style's activation setting here only.
- (instancetype)initWithContentRect:(NSRect)contentRect
                          styleMask:(NSWindowStyleMask)style
                            backing:(NSBackingStoreType)backingStoreType
                              defer:(BOOL)flag;
- (instancetype)initWithContentRect:(NSRect)contentRect
                          styleMask:(NSWindowStyleMask)style
                            backing:(NSBackingStoreType)backingStoreType
                              defer:(BOOL)flag
                             screen:(NSScreen*)screen;
@property NSWindowStyleMask styleMask;
@property NSWindowLevel level;
@property BOOL hidesOnDeactivate;
@property NSWindowCollectionBehavior collectionBehavior;
@property NSWindowAnimationBehavior animationBehavior;
@property(readonly) BOOL canBecomeKeyWindow;
@property(readonly) BOOL canBecomeMainWindow;
@property(readonly, strong) NSScreen* screen;
- (NSRect)convertRectToScreen:(NSRect)rect;
@end
