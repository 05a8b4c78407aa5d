#include "activation.h"

#import <AppKit/AppKit.h>

namespace quillon::platform::macos {

void activateThisApp() {
  if (@available(macOS 14.0, *)) {
    [NSApp activate];
  } else {
    [NSApp activateIgnoringOtherApps:YES];
  }
}

void activateApp(int pid) {
  NSRunningApplication* app = [NSRunningApplication runningApplicationWithProcessIdentifier:pid];
  if (app == nil) return;
  if (@available(macOS 14.0, *)) {
    // Granted only while this app is active, which it is when the user has
    // just clicked in one of its windows.
    [NSApp yieldActivationToApplication:app];
    [app activateFromApplication:NSRunningApplication.currentApplication options:0];
  } else {
    [app activateWithOptions:NSApplicationActivateIgnoringOtherApps];
  }
}

}  // namespace quillon::platform::macos
