// Declarations for compile-checking only; never shipped or used on a Mac.
// ServiceManagement's agent and login-item service (macOS 13 and later),
// declared ahead of the app's adapters, which register the helper's agent
// and the app's own login item. Objective-C only.
#pragma once

#import <Foundation/Foundation.h>

typedef NS_ENUM(NSInteger, SMAppServiceStatus) {
  SMAppServiceStatusNotRegistered = 0,     // Apple: SMAppService.h, SMAppServiceStatus
  SMAppServiceStatusEnabled = 1,           // Apple: SMAppService.h, SMAppServiceStatus
  SMAppServiceStatusRequiresApproval = 2,  // Apple: SMAppService.h, SMAppServiceStatus
  SMAppServiceStatusNotFound = 3,          // Apple: SMAppService.h, SMAppServiceStatus
} API_AVAILABLE(macos(13.0));

API_AVAILABLE(macos(13.0))
@interface SMAppService : NSObject
@property(class, readonly) SMAppService* mainAppService;
+ (SMAppService*)agentServiceWithPlistName:(NSString*)plistName;
+ (SMAppService*)loginItemServiceWithIdentifier:(NSString*)identifier;
- (BOOL)registerAndReturnError:(NSError**)error;
- (BOOL)unregisterAndReturnError:(NSError**)error;
// SMAppService.h
- (void)unregisterWithCompletionHandler:(void (^)(NSError* error))handler;
@property(readonly) SMAppServiceStatus status;
+ (void)openSystemSettingsLoginItems;
@end
