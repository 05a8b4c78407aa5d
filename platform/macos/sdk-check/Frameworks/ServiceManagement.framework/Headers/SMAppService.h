// Declarations for compile-checking only; never shipped or used on a Mac.
#pragma once

#import <Foundation/Foundation.h>

// Apple: ServiceManagement/SMAppService.h
typedef NS_ENUM(NSInteger, SMAppServiceStatus) {
  SMAppServiceStatusNotRegistered = 0,     // Apple: ServiceManagement/SMAppService.h
  SMAppServiceStatusEnabled = 1,           // Apple: ServiceManagement/SMAppService.h
  SMAppServiceStatusRequiresApproval = 2,  // Apple: ServiceManagement/SMAppService.h
  SMAppServiceStatusNotFound = 3,          // Apple: ServiceManagement/SMAppService.h
} API_AVAILABLE(macos(13.0));

// Apple: ServiceManagement/SMAppService.h
API_AVAILABLE(macos(13.0))
@interface SMAppService : NSObject
@property(class, readonly) SMAppService* mainAppService;
+ (SMAppService*)agentServiceWithPlistName:(NSString*)plistName;
+ (SMAppService*)loginItemServiceWithIdentifier:(NSString*)identifier;
- (BOOL)registerAndReturnError:(NSError**)error;
- (BOOL)unregisterAndReturnError:(NSError**)error;
// The handler runs once the job is reaped, on a queue of the framework's
// choosing.
- (void)unregisterWithCompletionHandler:(void (^)(NSError* error))handler
    API_AVAILABLE(macos(13.0));
@property(readonly) SMAppServiceStatus status;
+ (void)openSystemSettingsLoginItems;
@end
