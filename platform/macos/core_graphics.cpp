#include "core_graphics.h"

#include <ApplicationServices/ApplicationServices.h>

namespace quillon::platform::macos {
namespace {

// Core Graphics calls the tap without knowing our types; the context pair
// carries the core's callback and its context through the refcon.
struct TapContext {
  TapCallback callback;
  void* context;
};

CGEventRef tapTrampoline(CGEventTapProxy, CGEventType type, CGEventRef event, void* refcon) {
  auto* tap = static_cast<TapContext*>(refcon);
  return static_cast<CGEventRef>(tap->callback(tap->context, type, event));
}

CGEventRef asEvent(EventRef e) {
  return static_cast<CGEventRef>(e);
}
CFMachPortRef asPort(TapPort p) {
  return static_cast<CFMachPortRef>(p);
}

}  // namespace

TapPort CGEventTaps::createTap(TapPlacement placement, uint64_t eventMask, TapCallback callback,
                               void* context) {
  // Lives as long as the tap, which is the process for the real one; the
  // probe tap leaks one small record per probe, at most once a second.
  auto* tap = new TapContext{callback, context};
  CFMachPortRef port = CGEventTapCreate(
      kCGHIDEventTap,
      placement == TapPlacement::head ? kCGHeadInsertEventTap : kCGTailAppendEventTap,
      kCGEventTapOptionDefault, eventMask, tapTrampoline, tap);
  if (port == nullptr) delete tap;
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
  CFMachPortInvalidate(asPort(port));
  CFRelease(asPort(port));
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

void CGDisplays::setReconfigurationCallback(ReconfigurationCallback callback) {
  callback_ = std::move(callback);
  CGDisplayRegisterReconfigurationCallback(
      [](CGDirectDisplayID, CGDisplayChangeSummaryFlags flags, void* user) {
        auto* self = static_cast<CGDisplays*>(user);
        if (self->callback_) self->callback_((flags & kCGDisplayBeginConfigurationFlag) != 0);
      },
      this);
}

}  // namespace quillon::platform::macos
