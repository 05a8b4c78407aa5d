#pragma once

// Core Graphics adapters: event taps and fields, the cursor, the displays.
#include <map>
#include <memory>

#include "quillon/platform/display_change.h"
#include "quillon/platform/displays.h"
#include "quillon/platform/events.h"

namespace quillon::platform::macos {

class CGEventTaps final : public EventTaps {
 public:
  CGEventTaps();
  ~CGEventTaps() override;  // invalidates the taps still open
  CGEventTaps(const CGEventTaps&) = delete;
  CGEventTaps& operator=(const CGEventTaps&) = delete;

  TapPort createTap(TapPlacement placement, uint64_t eventMask, TapCallback callback,
                    void* context) override;
  void addToMainRunLoop(TapPort port) override;
  void enable(TapPort port, bool on) override;
  void invalidate(TapPort port) override;
  int64_t integerField(EventRef event, int field) const override;
  void setIntegerField(EventRef event, int field, int64_t value) override;
  double doubleField(EventRef event, int field) const override;
  void setDoubleField(EventRef event, int field, double value) override;
  Point location(EventRef event) const override;
  void setLocation(EventRef event, Point p) override;

  // What the tap's refcon points at: the core's callback and its context,
  // owned here from the tap's creation to its invalidation.
  struct Context;

 private:
  std::map<TapPort, std::unique_ptr<Context>> contexts_;
};

class CGCursor final : public Cursor {
 public:
  void warp(Point p) override;
  void associateMouseAndCursor() override;
};

class CGDisplays final : public Displays {
 public:
  CGDisplays();
  ~CGDisplays() override;  // removes the registration, which points at this object
  CGDisplays(const CGDisplays&) = delete;
  CGDisplays& operator=(const CGDisplays&) = delete;

  std::vector<DisplayDescription> activeDisplays() override;
  // Registers with Core Graphics once; an empty callback removes the
  // registration. The callback runs once at a change's beginning and once
  // at its end, however many displays the change affects.
  void setReconfigurationCallback(ReconfigurationCallback callback) override;
  // What Core Graphics' callback, with this object as its user data, calls.
  ReconfigurationCoalescer& coalescer() { return coalescer_; }

 private:
  ReconfigurationCallback callback_;
  ReconfigurationCoalescer coalescer_;
  bool registered_ = false;
};

}  // namespace quillon::platform::macos
