// Declarations for compile-checking only; never shipped or used on a Mac.
// ServiceManagement's agent and login-item service (macOS 13 and later),
// declared ahead of the app's adapters, which register the helper's agent
// and the app's own login item. Objective-C only.
#pragma once

#import <ServiceManagement/SMAppService.h>
