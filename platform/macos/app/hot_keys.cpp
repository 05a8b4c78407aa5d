#include <Carbon/Carbon.h>

#include "app_services.h"

namespace quillon::platform::macos {
namespace {

// Called by Carbon on the main thread. The event is always consumed.
OSStatus onHotKeyPressed(EventHandlerCallRef, EventRef event, void* userData) {
  EventHotKeyID hotKey{};
  if (GetEventParameter(event, kEventParamDirectObject, typeEventHotKeyID, nullptr, sizeof hotKey,
                        nullptr, &hotKey) == noErr) {
    const auto& onPressed = *static_cast<std::function<void(uint32_t)>*>(userData);
    if (onPressed) onPressed(hotKey.id);
  }
  return noErr;
}

}  // namespace

CarbonHotKeys::~CarbonHotKeys() {
  if (handler_ != nullptr) RemoveEventHandler(static_cast<EventHandlerRef>(handler_));
}

void CarbonHotKeys::installHandler(std::function<void(uint32_t id)> onPressed) {
  onPressed_ = std::move(onPressed);
  if (handler_ != nullptr) return;  // the one handler already reads onPressed_
  const EventTypeSpec pressed{kEventClassKeyboard, kEventHotKeyPressed};
  EventHandlerRef handler = nullptr;
  if (InstallEventHandler(GetApplicationEventTarget(), NewEventHandlerUPP(onHotKeyPressed), 1,
                          &pressed, &onPressed_, &handler) == noErr) {
    handler_ = handler;
  }
}

std::optional<uint64_t> CarbonHotKeys::registerHotKey(uint32_t keyCode, uint32_t modifiers,
                                                      uint32_t signature, uint32_t id) {
  EventHotKeyRef ref = nullptr;
  if (RegisterEventHotKey(keyCode, modifiers, EventHotKeyID{signature, id},
                          GetApplicationEventTarget(), 0, &ref) != noErr ||
      ref == nullptr) {
    return std::nullopt;
  }
  return reinterpret_cast<uintptr_t>(ref);
}

}  // namespace quillon::platform::macos
