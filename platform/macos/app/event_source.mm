#include "app_services.h"

#import <AppKit/AppKit.h>

namespace quillon::platform::macos {
namespace {

// NSEvent's subtype raises for events that have none; mouse events have one.
bool hasSubtype(NSEventType type) {
  switch (type) {
    case NSEventTypeLeftMouseDown:
    case NSEventTypeLeftMouseUp:
    case NSEventTypeRightMouseDown:
    case NSEventTypeRightMouseUp:
    case NSEventTypeMouseMoved:
    case NSEventTypeLeftMouseDragged:
    case NSEventTypeRightMouseDragged:
    case NSEventTypeOtherMouseDown:
    case NSEventTypeOtherMouseUp:
    case NSEventTypeOtherMouseDragged:
      return true;
    default:
      return false;
  }
}

struct GlobalMonitor final : EventSource::Monitor {
  id token = nil;  // nil when AppKit refused the monitor
  ~GlobalMonitor() override {
    if (token != nil) [NSEvent removeMonitor:token];
  }
};

}  // namespace

std::optional<CurrentEvent> AppKitEventSource::currentEvent() {
  NSEvent* event = NSApp.currentEvent;
  if (event == nil) return std::nullopt;
  CurrentEvent out;
  out.type = static_cast<int>(event.type);
  if (hasSubtype(event.type)) out.subtype = static_cast<int>(event.subtype);
  return out;
}

std::unique_ptr<EventSource::Monitor> AppKitEventSource::addGlobalMouseDownMonitor(
    std::function<void()> onMouseDown) {
  auto monitor = std::make_unique<GlobalMonitor>();
  // Global monitors see other applications' events only, on the main thread.
  monitor->token = [NSEvent
      addGlobalMonitorForEventsMatchingMask:NSEventMaskLeftMouseDown | NSEventMaskRightMouseDown
                                    handler:^(NSEvent*) {
                                      onMouseDown();
                                    }];
  return monitor;
}

}  // namespace quillon::platform::macos
