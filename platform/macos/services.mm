#include "services.h"

#import <AppKit/AppKit.h>
#include <ApplicationServices/ApplicationServices.h>
#include <dispatch/dispatch.h>
#include <fcntl.h>
#include <unistd.h>

#include <thread>

namespace quillon::platform::macos {
namespace {

// Nil when `s` is not valid UTF-8.
NSString* ns(const std::string& s) {
  return [NSString stringWithUTF8String:s.c_str()];
}

}  // namespace

std::optional<PrefValue> CFGlobalPreferences::globalValue(const std::string& key) {
  // A key without a UTF-8 form names no preference; a null key is not
  // allowed.
  NSString* name = ns(key);
  if (name == nil) return std::nullopt;
  CFPropertyListRef v =
      CFPreferencesCopyValue((__bridge CFStringRef)name, kCFPreferencesAnyApplication,
                             kCFPreferencesCurrentUser, kCFPreferencesAnyHost);
  if (v == nullptr) return std::nullopt;
  std::optional<PrefValue> out;
  if (CFGetTypeID(v) == CFBooleanGetTypeID()) {
    out = CFBooleanGetValue(static_cast<CFBooleanRef>(v)) != 0;
  } else if (CFGetTypeID(v) == CFNumberGetTypeID()) {
    double d = 0;
    CFNumberGetValue(static_cast<CFNumberRef>(v), kCFNumberDoubleType, &d);
    out = d;
  } else if (CFGetTypeID(v) == CFStringGetTypeID()) {
    // Null when the string cannot be converted, which std::string must not see.
    if (const char* utf8 = [(__bridge NSString*)v UTF8String]) out = std::string(utf8);
  }
  CFRelease(v);
  return out;
}

void CFGlobalPreferences::setGlobalValue(const std::string& key,
                                         const std::optional<PrefValue>& value) {
  NSString* name = ns(key);
  if (name == nil) return;
  id object = nil;
  if (value) {
    if (auto* b = std::get_if<bool>(&*value)) object = @(*b);
    if (auto* d = std::get_if<double>(&*value)) object = @(*d);
    if (auto* s = std::get_if<std::string>(&*value)) object = ns(*s);
    // A null value would remove the key: a text without a UTF-8 form
    // leaves it as it is.
    if (object == nil) return;
  }
  CFPreferencesSetValue((__bridge CFStringRef)name, (__bridge CFPropertyListRef)object,
                        kCFPreferencesAnyApplication, kCFPreferencesCurrentUser,
                        kCFPreferencesAnyHost);
  CFPreferencesSynchronize(kCFPreferencesAnyApplication, kCFPreferencesCurrentUser,
                           kCFPreferencesAnyHost);
}

bool AXAccessibility::isTrusted(bool prompt) {
  NSDictionary* options = @{(__bridge NSString*)kAXTrustedCheckOptionPrompt : @(prompt)};
  return AXIsProcessTrustedWithOptions((__bridge CFDictionaryRef)options);
}

AppKitWorkspace::~AppKitWorkspace() {
  if (observer_ != nullptr) {
    [[[NSWorkspace sharedWorkspace] notificationCenter]
        removeObserver:(__bridge_transfer id)observer_];
  }
}

std::vector<RunningApp> AppKitWorkspace::runningApplications(const std::string& bundleIdentifier) {
  std::vector<RunningApp> out;
  NSString* identifier = ns(bundleIdentifier);
  if (identifier == nil) return out;
  for (NSRunningApplication* app in
       [NSRunningApplication runningApplicationsWithBundleIdentifier:identifier]) {
    out.push_back({app.processIdentifier, bundleIdentifier});
  }
  return out;
}

void AppKitWorkspace::terminate(int pid) {
  [[NSRunningApplication runningApplicationWithProcessIdentifier:pid] terminate];
}

void AppKitWorkspace::forceTerminate(int pid) {
  [[NSRunningApplication runningApplicationWithProcessIdentifier:pid] forceTerminate];
}

void AppKitWorkspace::setWakeObserver(std::function<void()> onWake) {
  NSNotificationCenter* center = [[NSWorkspace sharedWorkspace] notificationCenter];
  // One observer at most: the previous one goes, and an empty function only
  // removes it.
  if (observer_ != nullptr) {
    [center removeObserver:(__bridge_transfer id)observer_];
    observer_ = nullptr;
  }
  if (!onWake) return;
  id token = [center addObserverForName:NSWorkspaceDidWakeNotification
                                 object:nil
                                  queue:[NSOperationQueue mainQueue]
                             usingBlock:^(NSNotification*) {
                               onWake();
                             }];
  observer_ = (__bridge_retained void*)token;
}

CFMainRunLoop::~CFMainRunLoop() {
  while (!timers_.empty()) cancelTimer(timers_.begin()->first);
}

RunLoop::TimerId CFMainRunLoop::addTimer(double intervalSeconds, bool repeats,
                                         std::function<void()> fire) {
  const TimerId id = next_++;
  CFRunLoopTimerRef timer = CFRunLoopTimerCreateWithHandler(
      kCFAllocatorDefault, CFAbsoluteTimeGetCurrent() + intervalSeconds,
      repeats ? intervalSeconds : 0, 0, 0, ^(CFRunLoopTimerRef) {
        fire();
        // A one-shot timer is done: drop our reference now rather than keep
        // it until a cancel that never comes. The run loop holds the timer
        // until this block returns.
        if (!repeats) cancelTimer(id);
      });
  CFRunLoopAddTimer(CFRunLoopGetMain(), timer, kCFRunLoopCommonModes);
  timers_[id] = timer;
  return id;
}

void CFMainRunLoop::cancelTimer(TimerId id) {
  auto it = timers_.find(id);
  if (it == timers_.end()) return;
  auto timer = static_cast<CFRunLoopTimerRef>(it->second);
  CFRunLoopTimerInvalidate(timer);
  CFRelease(timer);
  timers_.erase(it);
}

void CFMainRunLoop::after(double delaySeconds, std::function<void()> work) {
  dispatch_after(
      dispatch_time(DISPATCH_TIME_NOW, static_cast<int64_t>(delaySeconds * NSEC_PER_SEC)),
      dispatch_get_main_queue(), ^{
        work();
      });
}

void CFMainRunLoop::run() {
  CFRunLoopRun();
}

void CFMainRunLoop::stop() {
  CFRunLoopStop(CFRunLoopGetMain());
}

namespace {

struct DispatchWatch final : FolderWatcher::Watch {
  dispatch_source_t source = nullptr;
  ~DispatchWatch() override {
    if (source != nullptr) dispatch_source_cancel(source);
  }
};

}  // namespace

std::unique_ptr<FolderWatcher::Watch> DispatchFolderWatcher::watch(const std::string& folder,
                                                                   std::function<void()> onEvent) {
  int fd = ::open(folder.c_str(), O_EVTONLY | O_CLOEXEC);
  if (fd < 0) return nullptr;
  auto w = std::make_unique<DispatchWatch>();
  w->source =
      dispatch_source_create(DISPATCH_SOURCE_TYPE_VNODE, static_cast<uintptr_t>(fd),
                             DISPATCH_VNODE_WRITE | DISPATCH_VNODE_RENAME | DISPATCH_VNODE_DELETE,
                             dispatch_get_main_queue());
  if (w->source == nullptr) {
    ::close(fd);
    return nullptr;
  }
  dispatch_source_set_event_handler(w->source, ^{
    onEvent();
  });
  dispatch_source_set_cancel_handler(w->source, ^{
    ::close(fd);
  });
  dispatch_resume(w->source);
  return w;
}

double UptimeClock::uptime() {
  return [[NSProcessInfo processInfo] systemUptime];
}

void UptimeClock::sleep(double seconds) {
  std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}

}  // namespace quillon::platform::macos
