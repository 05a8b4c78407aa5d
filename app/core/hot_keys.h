#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "app/core/env.h"

namespace quillon::app {

class Model;

// Three system-wide shortcuts, each with Control, Option and Command held.
namespace HotKeys {

// Carbon's controlKey | optionKey | cmdKey.
inline constexpr uint32_t kModifiers = 0x1900;
// "QLNV": the app's own hot-key signature.
inline constexpr uint32_t kSignature =
    (uint32_t{'Q'} << 24) | (uint32_t{'L'} << 16) | (uint32_t{'N'} << 8) | uint32_t{'V'};

enum class Action { resetCurrent, macDefault, resetAll };
struct Key {
  uint32_t id;
  uint32_t keyCode;  // macOS virtual key code, ANSI layout
  const char* shownAs;
  Action action;
};
inline constexpr Key kKeys[] = {
    {1, 15, "⌃⌥⌘R", Action::resetCurrent},
    {2, 46, "⌃⌥⌘M", Action::macDefault},
    {3, 29, "⌃⌥⌘0", Action::resetAll},
};

// Installs the handler and registers the three keys, in table order. The
// handler never runs an action itself: it queues `perform` on the main
// queue and returns, so the key event is consumed at once. Returns the
// references that the registrations gave (none for a failed one); they are
// never released.
std::vector<std::optional<uint64_t>> registerAll(Env& env, std::function<void(Action)> perform);

// What an action does to the model.
void perform(Model& model, Action action);

}  // namespace HotKeys

}  // namespace quillon::app
