#include "core_graphics.h"

#include <ApplicationServices/ApplicationServices.h>
#include <dispatch/dispatch.h>

namespace quillon::platform::macos {

// Core Graphics calls the tap without knowing our types; the context pair
// carries the core's callback and its context through the refcon.
struct CGEventTaps::Context {
  TapCallback callback;
  void* context;
};

namespace {

CGEventRef tapTrampoline(CGEventTapProxy, CGEventType type, CGEventRef event, void* refcon) {
  auto* tap = static_cast<CGEventTaps::Context*>(refcon);
  return static_cast<CGEventRef>(tap->callback(tap->context, type, event));
}

// Runs on the main thread (Core Graphics calls it from the main run loop),
// once per display that a change affects.
void displaysReconfigured(CGDirectDisplayID, CGDisplayChangeSummaryFlags flags, void* user) {
  static_cast<CGDisplays*>(user)->coalescer().onDisplayCallback(
      (flags & kCGDisplayBeginConfigurationFlag) != 0);
}

// The main dispatch queue, which the main run loop drains after the calls
// of the current turn.
void postToMain(std::function<void()> work) {
  dispatch_async(dispatch_get_main_queue(), ^{
    work();
  });
}

CGEventRef asEvent(EventRef e) {
  return static_cast<CGEventRef>(e);
}
CFMachPortRef asPort(TapPort p) {
  return static_cast<CFMachPortRef>(p);
}

}  // namespace

CGEventTaps::CGEventTaps() = default;

CGEventTaps::~CGEventTaps() {
  while (!contexts_.empty()) invalidate(contexts_.begin()->first);
}

TapPort CGEventTaps::createTap(TapPlacement placement, uint64_t eventMask, TapCallback callback,
                               void* context) {
  auto tap = std::make_unique<Context>(Context{callback, context});
  CFMachPortRef port = CGEventTapCreate(
      kCGHIDEventTap,
      placement == TapPlacement::head ? kCGHeadInsertEventTap : kCGTailAppendEventTap,
      kCGEventTapOptionDefault, eventMask, tapTrampoline, tap.get());
  if (port != nullptr) contexts_[port] = std::move(tap);
  return port;
}

void CGEventTaps::addToMainRunLoop(TapPort port) {
  CFRunLoopSourceRef source = CFMachPortCreateRunLoopSource(kCFAllocatorDefault, asPort(port), 0);
  CFRunLoopAddSource(CFRunLoopGetMain(), source, kCFRunLoopCommonModes);
  CFRelease(source);
}

void CGEventTaps::enable(TapPort port, bool on) {
  CGEventTapEnable(asPort(port), on);
}

void CGEventTaps::invalidate(TapPort port) {
  // Invalidating the port also invalidates its run loop source, so the
  // callback cannot run again and its context can go.
  CFMachPortInvalidate(asPort(port));
  CFRelease(asPort(port));
  contexts_.erase(port);
}

int64_t CGEventTaps::integerField(EventRef event, int field) const {
  return CGEventGetIntegerValueField(asEvent(event), static_cast<CGEventField>(field));
}

void CGEventTaps::setIntegerField(EventRef event, int field, int64_t value) {
  CGEventSetIntegerValueField(asEvent(event), static_cast<CGEventField>(field), value);
}

double CGEventTaps::doubleField(EventRef event, int field) const {
  return CGEventGetDoubleValueField(asEvent(event), static_cast<CGEventField>(field));
}

void CGEventTaps::setDoubleField(EventRef event, int field, double value) {
  CGEventSetDoubleValueField(asEvent(event), static_cast<CGEventField>(field), value);
}

Point CGEventTaps::location(EventRef event) const {
  CGPoint p = CGEventGetLocation(asEvent(event));
  return {p.x, p.y};
}

void CGEventTaps::setLocation(EventRef event, Point p) {
  CGEventSetLocation(asEvent(event), CGPointMake(p.x, p.y));
}

void CGCursor::warp(Point p) {
  CGWarpMouseCursorPosition(CGPointMake(p.x, p.y));
}

void CGCursor::associateMouseAndCursor() {
  CGAssociateMouseAndMouseCursorPosition(true);
}

std::vector<DisplayDescription> CGDisplays::activeDisplays() {
  uint32_t count = 0;
  if (CGGetActiveDisplayList(0, nullptr, &count) != kCGErrorSuccess || count == 0) return {};
  std::vector<CGDirectDisplayID> ids(count);
  if (CGGetActiveDisplayList(count, ids.data(), &count) != kCGErrorSuccess) return {};
  std::vector<DisplayDescription> out;
  out.reserve(count);
  for (uint32_t i = 0; i < count; ++i) {
    CGRect b = CGDisplayBounds(ids[i]);
    CGSize mm = CGDisplayScreenSize(ids[i]);
    out.push_back({{b.origin.x, b.origin.y, b.size.width, b.size.height},
                   mm.width,
                   mm.height,
                   CGDisplayIsBuiltin(ids[i]) != 0});
  }
  return out;
}

CGDisplays::CGDisplays()
    : coalescer_(postToMain, [this](bool beginning) {
        if (callback_) callback_(beginning);
      }) {}

CGDisplays::~CGDisplays() {
  if (registered_) CGDisplayRemoveReconfigurationCallback(displaysReconfigured, this);
}

void CGDisplays::setReconfigurationCallback(ReconfigurationCallback callback) {
  callback_ = std::move(callback);
  if (callback_ && !registered_) {
    registered_ =
        CGDisplayRegisterReconfigurationCallback(displaysReconfigured, this) == kCGErrorSuccess;
  } else if (!callback_ && registered_) {
    CGDisplayRemoveReconfigurationCallback(displaysReconfigured, this);
    registered_ = false;
  }
}

}  // namespace quillon::platform::macos
