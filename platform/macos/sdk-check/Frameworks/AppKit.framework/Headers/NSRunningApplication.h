// Declarations for compile-checking only; never shipped or used on a Mac.
#pragma once

#import <AppKit/AppKitDefines.h>

// Apple: AppKit/NSRunningApplication.h
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
- (BOOL)activateWithOptions:(NSApplicationActivationOptions)options;
@end
