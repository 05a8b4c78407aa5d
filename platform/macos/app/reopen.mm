// The reopen request (the user opens the app again while it runs) reaches
// the application delegate's applicationShouldHandleReopen:hasVisibleWindows:.
// Qt owns that delegate, so the method is wrapped on the delegate's class:
// Qt's own implementation still runs first (it marks the application active),
// then the app's handler, and the answer is always NO, so that AppKit itself
// opens nothing.
//
// Why not the kAEReopenApplication Apple event: a handler installed with
// NSAppleEventManager replaces NSApplication's own, so Qt's delegate would no
// longer hear of reopens at all, and NSApplication installs its handlers
// while it finishes launching, which can silently replace one installed
// before. Wrapping the one delegate method keeps Qt's behaviour and needs no
// particular moment beyond "the delegate exists".

#include "app_services.h"

#import <AppKit/AppKit.h>
#include <objc/runtime.h>

#include <string>

namespace quillon::platform::macos {
namespace {

// One per process: the wrapped method belongs to a class, not an object.
std::function<void()>& reopenHandler() {
  static std::function<void()> handler;
  return handler;
}

using ReopenFn = BOOL (*)(id, SEL, NSApplication*, BOOL);

// True once the delegate's class carries the wrapper.
bool installOn(id<NSApplicationDelegate> delegate) {
  static bool installed = false;
  if (installed) return true;
  if (delegate == nil) return false;

  const SEL selector = @selector(applicationShouldHandleReopen:hasVisibleWindows:);
  Class cls = object_getClass(delegate);
  Method existing = class_getInstanceMethod(cls, selector);
  // Qt's implementation, or null when no class in the chain has one.
  const auto original = existing != nullptr
                            ? reinterpret_cast<ReopenFn>(method_getImplementation(existing))
                            : nullptr;
  IMP wrapper = imp_implementationWithBlock(^BOOL(id self, NSApplication* app, BOOL visible) {
    if (original != nullptr) (void)original(self, selector, app, visible);
    if (const std::function<void()>& handler = reopenHandler()) handler();
    return NO;
  });
  const std::string types =
      std::string(@encode(BOOL)) + @encode(id) + @encode(SEL) + @encode(id) + @encode(BOOL);
  // Added on the delegate's own class when it only inherits the method (or
  // lacks it); replaced in place when the class defines it.
  if (class_addMethod(cls, selector, wrapper, types.c_str())) {
    // NSApplication may have noted at setDelegate: which optional methods
    // the delegate answers; setting the same delegate again refreshes that.
    NSApp.delegate = delegate;
  } else {
    method_setImplementation(existing, wrapper);
  }
  installed = true;
  return true;
}

}  // namespace

void AppKitEventSource::setReopenHandler(std::function<void()> onReopen) {
  reopenHandler() = std::move(onReopen);
  if (installOn(NSApp.delegate)) return;
  // No delegate yet: Qt sets it before launching finishes, and no reopen can
  // arrive before then.
  __block id<NSObject> token = [NSNotificationCenter.defaultCenter
      addObserverForName:NSApplicationDidFinishLaunchingNotification
                  object:nil
                   queue:NSOperationQueue.mainQueue
              usingBlock:^(NSNotification*) {
                installOn(NSApp.delegate);
                [NSNotificationCenter.defaultCenter removeObserver:token];
                token = nil;
              }];
}

}  // namespace quillon::platform::macos
