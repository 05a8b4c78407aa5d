// Declarations for compile-checking only; never shipped or used on a Mac.
// AppKit's classes as the adapters use them. Objective-C only.
#pragma once

#import <Foundation/Foundation.h>

#define APPKIT_EXTERN extern

@interface NSRunningApplication : NSObject
+ (NSArray<NSRunningApplication*>*)runningApplicationsWithBundleIdentifier:
    (NSString*)bundleIdentifier;
+ (instancetype)runningApplicationWithProcessIdentifier:(pid_t)pid;
@property(readonly) pid_t processIdentifier;
@property(readonly, copy) NSString* bundleIdentifier;
- (BOOL)terminate;
- (BOOL)forceTerminate;
@end

@interface NSWorkspace : NSObject
@property(class, readonly, strong) NSWorkspace* sharedWorkspace;
@property(readonly, strong) NSNotificationCenter* notificationCenter;
@end

APPKIT_EXTERN NSNotificationName const NSWorkspaceDidWakeNotification;
