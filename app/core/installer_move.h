#pragma once

#include <functional>

#include "app/core/installer.h"

namespace quillon::app::Installer {

// Copies the running bundle into an Applications folder and hands over to
// the copy: on success the app terminates and `failed` is never called. Any
// step that fails ends the move with its error; nothing done before it is
// undone. Moving an old copy to the Trash completes on the main queue, so
// `failed` may be called after move() has returned. Called by offerMove()
// only.
using MoveFailed = std::function<void(const platform::OsError& error)>;
void move(Env& env, const SleepMs& sleep, MoveFailed failed);

}  // namespace quillon::app::Installer
