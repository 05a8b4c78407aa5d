#pragma once

// Core Graphics adapters: event taps and fields, the cursor, the displays.
#include "quillon/platform/displays.h"
#include "quillon/platform/events.h"

namespace quillon::platform::macos {

class CGEventTaps final : public EventTaps {
 public:
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
};

class CGCursor final : public Cursor {
 public:
  void warp(Point p) override;
  void associateMouseAndCursor() override;
};

class CGDisplays final : public Displays {
 public:
  std::vector<DisplayDescription> activeDisplays() override;
  void setReconfigurationCallback(ReconfigurationCallback callback) override;

 private:
  ReconfigurationCallback callback_;
};

}  // namespace quillon::platform::macos
