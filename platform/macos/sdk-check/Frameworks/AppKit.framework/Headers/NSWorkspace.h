// Declarations for compile-checking only; never shipped or used on a Mac.
#pragma once

#import <AppKit/AppKitDefines.h>

@class NSScreen;
@class NSWindow;

// Apple: AppKit/NSWorkspace.h
@interface NSWorkspace : NSObject
@property(class, readonly, strong) NSWorkspace* sharedWorkspace;
@property(readonly, strong) NSNotificationCenter* notificationCenter;
- (BOOL)openURL:(NSURL*)url;
- (void)activateFileViewerSelectingURLs:(NSArray<NSURL*>*)fileURLs;
// The handler runs on a queue of the workspace's choosing.
- (void)recycleURLs:(NSArray<NSURL*>*)URLs
    completionHandler:(void (^)(NSDictionary<NSURL*, NSURL*>* newURLs, NSError* error))handler;
@end

// Apple: AppKit/NSWorkspace.h
APPKIT_EXTERN NSNotificationName const NSWorkspaceDidWakeNotification;
