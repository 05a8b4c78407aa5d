// Declarations for compile-checking only; never shipped or used on a Mac.
#pragma once

#import <AppKit/AppKitDefines.h>

// Apple: AppKit/NSRunningApplication.h
// NSApplicationActivateIgnoringOtherApps is deprecated in macOS 14 and has
// no effect there.
typedef NS_OPTIONS(NSUInteger, NSApplicationActivationOptions) {
  NSApplicationActivateIgnoringOtherApps = 1 << 1,  // Apple: AppKit/NSRunningApplication.h
};

// Apple: AppKit/NSRunningApplication.h
@interface NSRunningApplication : NSObject
+ (NSArray<NSRunningApplication*>*)runningApplicationsWithBundleIdentifier:
    (NSString*)bundleIdentifier;
+ (instancetype)runningApplicationWithProcessIdentifier:(pid_t)pid;
@property(readonly) pid_t processIdentifier;
@property(readonly, copy) NSString* bundleIdentifier;
@property(readonly, getter=isTerminated) BOOL terminated;
- (BOOL)terminate;
- (BOOL)forceTerminate;
@property(class, readonly) NSRunningApplication* currentApplication;
- (BOOL)activateWithOptions:(NSApplicationActivationOptions)options;
// Cooperative activation: honoured when `application` is active.
- (BOOL)activateFromApplication:(NSRunningApplication*)application
                        options:(NSApplicationActivationOptions)options API_AVAILABLE(macos(14.0));
@end
