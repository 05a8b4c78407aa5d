// Declarations for compile-checking only; never shipped or used on a Mac.
#pragma once

#import <AppKit/AppKitDefines.h>
#import <AppKit/NSAppearance.h>
#import <AppKit/NSEvent.h>
#import <AppKit/NSResponder.h>
#import <AppKit/NSRunningApplication.h>

@class NSScreen;
@class NSWindow;

// Apple: AppKit/NSApplication.h
@protocol NSApplicationDelegate <NSObject>
@end

// Apple: AppKit/NSApplication.h
@interface NSApplication : NSResponder
@property(class, readonly, strong) NSApplication* sharedApplication;
@property(weak) id<NSApplicationDelegate> delegate;
@property(readonly, strong) NSEvent* currentEvent;
@property(readonly, strong) NSAppearance* effectiveAppearance API_AVAILABLE(macos(10.14));
// To be deprecated: macOS 14 has -activate and cooperative activation.
- (void)activateIgnoringOtherApps:(BOOL)flag;
- (void)activate API_AVAILABLE(macos(14.0));
- (void)yieldActivationToApplication:(NSRunningApplication*)application API_AVAILABLE(macos(14.0));
- (void)terminate:(id)sender;
@end

// Apple: AppKit/NSApplication.h
APPKIT_EXTERN __kindof NSApplication* NSApp;
APPKIT_EXTERN NSNotificationName const NSApplicationDidFinishLaunchingNotification;
APPKIT_EXTERN NSNotificationName const NSApplicationDidResignActiveNotification;
