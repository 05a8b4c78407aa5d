#include "panel_window.h"

#import <AppKit/AppKit.h>
#include <objc/runtime.h>

#include <cstring>
#include <string>

namespace quillon::platform::macos::MacPanelWindow {
namespace {

constexpr NSWindowLevel kPopUpMenuLevel = 101;  // NSPopUpMenuWindowLevel
constexpr const char* kClassPrefix = "QuillonPanel_";
// Its address is the associated-object key of the Escape block.
const char kEscapeKey = 0;

NSWindow* windowOf(void* handle) {
  id object = (__bridge id)handle;
  if ([object isKindOfClass:[NSWindow class]]) return object;
  if ([object isKindOfClass:[NSView class]]) return static_cast<NSView*>(object).window;
  return nil;
}

bool isPanelClass(Class cls) {
  return std::strncmp(class_getName(cls), kClassPrefix, std::strlen(kClassPrefix)) == 0;
}

// A subclass of the window's own class (Qt's) with the panel's answers. It
// adds no instance variables, so a window can change to it in place, as
// key-value observing changes classes; made once per base class.
Class panelClassFor(Class base) {
  const std::string name = std::string(kClassPrefix) + class_getName(base);
  if (Class existing = objc_getClass(name.c_str())) return existing;
  Class cls = objc_allocateClassPair(base, name.c_str(), 0);
  if (cls == nil) return nil;
  const std::string getter = std::string(@encode(BOOL)) + @encode(id) + @encode(SEL);
  const std::string action = std::string(@encode(void)) + @encode(id) + @encode(SEL) + @encode(id);
  // Text fields in the panel take typing, but the panel never becomes the
  // app's main window.
  BOOL (^canBecomeKey)(id) = ^BOOL(id) {
    return YES;
  };
  BOOL (^canBecomeMain)(id) = ^BOOL(id) {
    return NO;
  };
  void (^cancelOperation)(id, id) = ^(id self, id) {
    void (^onEscape)(void) = objc_getAssociatedObject(self, &kEscapeKey);
    if (onEscape != nil) onEscape();
  };
  class_addMethod(cls, @selector(canBecomeKeyWindow), imp_implementationWithBlock(canBecomeKey),
                  getter.c_str());
  class_addMethod(cls, @selector(canBecomeMainWindow), imp_implementationWithBlock(canBecomeMain),
                  getter.c_str());
  class_addMethod(cls, @selector(cancelOperation:), imp_implementationWithBlock(cancelOperation),
                  action.c_str());
  objc_registerClassPair(cls);
  return cls;
}

struct NotificationObservation final : Observation {
  id token = nil;
  ~NotificationObservation() override {
    if (token != nil) [NSNotificationCenter.defaultCenter removeObserver:token];
  }
};

}  // namespace

bool configure(void* nsViewOrWindow, std::function<void()> onEscape) {
  NSWindow* window = windowOf(nsViewOrWindow);
  if (window == nil) return false;

  Class current = object_getClass(window);
  // A class that someone else changed in place already (object_getClass and
  // -class disagree, as under key-value observing) is left alone: the
  // window then keeps Qt's answers for key and main.
  if (!isPanelClass(current) && current == [window class]) {
    if (Class panel = panelClassFor(current)) object_setClass(window, panel);
  }
  if (onEscape) {
    void (^escape)(void) = ^{
      onEscape();
    };
    objc_setAssociatedObject(window, &kEscapeKey, escape, OBJC_ASSOCIATION_RETAIN_NONATOMIC);
  }

  if ([window isKindOfClass:[NSPanel class]]) {
    window.styleMask |= NSWindowStyleMaskNonactivatingPanel;
  }
  window.level = kPopUpMenuLevel;
  window.hidesOnDeactivate = NO;
  window.collectionBehavior =
      NSWindowCollectionBehaviorMoveToActiveSpace | NSWindowCollectionBehaviorFullScreenAuxiliary;
  window.animationBehavior = NSWindowAnimationBehaviorNone;
  return true;
}

void activateIgnoringOtherApps() {
  [NSApp activateIgnoringOtherApps:YES];
}

std::unique_ptr<Observation> observeResignActive(std::function<void()> onResignActive) {
  auto observation = std::make_unique<NotificationObservation>();
  observation->token = [NSNotificationCenter.defaultCenter
      addObserverForName:NSApplicationDidResignActiveNotification
                  object:nil
                   queue:NSOperationQueue.mainQueue
              usingBlock:^(NSNotification*) {
                onResignActive();
              }];
  return observation;
}

void announce(const std::string& utf8Text) {
  NSString* text = [NSString stringWithUTF8String:utf8Text.c_str()];
  if (text == nil || NSApp == nil) return;
  NSAccessibilityPostNotificationWithUserInfo(
      NSApp, NSAccessibilityAnnouncementRequestedNotification,
      @{NSAccessibilityAnnouncementKey : text});
}

}  // namespace quillon::platform::macos::MacPanelWindow
