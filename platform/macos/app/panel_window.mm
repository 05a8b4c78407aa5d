#include "panel_window.h"

#include "activation.h"

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

// While createNonactivating runs: every NSPanel made gets
// NSWindowStyleMaskNonactivatingPanel in its initializer, the only place the
// window server reads it. Main thread only, as AppKit makes windows there.
bool gMakingPanel = false;
int gPanelsMade = 0;

// The two initializers, through which every NSPanel is made. UNSURE: that
// Qt 6's QNSPanel reaches one of them (the one with a screen, from memory
// of Qt's sources); createNonactivating reports when no panel came through,
// and docs/macos.md has the check on a Mac. Written with void* for the window so that
// ARC leaves the initializer's ownership (self consumed, +1 returned) to
// the original implementation.
using InitFn = void* (*)(void*, SEL, NSRect, NSWindowStyleMask, NSBackingStoreType, BOOL);
using InitScreenFn = void* (*)(void*, SEL, NSRect, NSWindowStyleMask, NSBackingStoreType, BOOL,
                               void*);
InitFn gInit = nullptr;
InitScreenFn gInitScreen = nullptr;

NSWindowStyleMask panelStyle(NSWindowStyleMask style) {
  if (!gMakingPanel) return style;
  ++gPanelsMade;
  return style | NSWindowStyleMaskNonactivatingPanel;
}

void* initPanel(void* self, SEL cmd, NSRect rect, NSWindowStyleMask style,
                NSBackingStoreType backing, BOOL defer) {
  return gInit(self, cmd, rect, panelStyle(style), backing, defer);
}

void* initPanelOnScreen(void* self, SEL cmd, NSRect rect, NSWindowStyleMask style,
                        NSBackingStoreType backing, BOOL defer, void* screen) {
  // When this one calls the other, the mask is added twice, which is the same.
  return gInitScreen(self, cmd, rect, panelStyle(style), backing, defer, screen);
}

// Puts `hook` on NSPanel for `sel` and returns the implementation it
// replaces: NSWindow's when NSPanel only inherits it, so NSWindows other
// than panels never run the hook.
IMP hookPanelInit(SEL sel, IMP hook) {
  Method method = class_getInstanceMethod([NSPanel class], sel);
  if (method == nullptr) return nullptr;
  IMP original = method_getImplementation(method);
  if (!class_addMethod([NSPanel class], sel, hook, method_getTypeEncoding(method))) {
    original = method_setImplementation(method, hook);
  }
  return original;
}

void hookPanelInitializers() {
  static bool hooked = false;
  if (hooked) return;
  hooked = true;
  gInit = reinterpret_cast<InitFn>(hookPanelInit(
      @selector(initWithContentRect:styleMask:backing:defer:), reinterpret_cast<IMP>(&initPanel)));
  gInitScreen = reinterpret_cast<InitScreenFn>(
      hookPanelInit(@selector(initWithContentRect:styleMask:backing:defer:screen:),
                    reinterpret_cast<IMP>(&initPanelOnScreen)));
}

struct NotificationObservation final : Observation {
  id token = nil;
  ~NotificationObservation() override {
    if (token != nil) [NSNotificationCenter.defaultCenter removeObserver:token];
  }
};

}  // namespace

bool createNonactivating(const std::function<void()>& create) {
  hookPanelInitializers();
  const int before = gPanelsMade;
  gMakingPanel = true;
  create();
  gMakingPanel = false;
  return gPanelsMade > before;
}

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

  // Keeps AppKit's side of a panel made by createNonactivating; on a window
  // made without it the window server still activates the app on a click.
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

void activate() {
  activateThisApp();
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
