#include "app/core/last_device.h"

#include "app/core/model.h"

namespace quillon::app::LastDevice {

namespace {
// NSEvent types: left down, left up, right down, right up.
constexpr int kFirstMouseClickType = 1;
constexpr int kLastMouseClickType = 4;
// NSEventSubtype touch: the click was made on a trackpad.
constexpr int kTouchSubtype = 3;
}  // namespace

void fromOpeningClick(Env& env, Model& model) {
  const std::optional<platform::CurrentEvent> event = env.sys.events.currentEvent();
  if (!event || event->type < kFirstMouseClickType || event->type > kLastMouseClickType) return;
  model.setDevice(event->subtype == kTouchSubtype ? Device::trackpad : Device::mouse);
}

}  // namespace quillon::app::LastDevice
