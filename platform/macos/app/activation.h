#pragma once

// Bringing an app forward. macOS 14 ignores NSApplicationActivateIgnoringOtherApps
// and will deprecate -activateIgnoringOtherApps:; from 14 on, activation is
// cooperative: the active app yields it to the one it brings forward.

namespace quillon::platform::macos {

// This app: -[NSApplication activate] on macOS 14 and later,
// -activateIgnoringOtherApps:YES below.
void activateThisApp();

// The app with `pid`, if it runs: on macOS 14 and later this app yields
// activation to it and asks for it as this app; below,
// NSApplicationActivateIgnoringOtherApps.
void activateApp(int pid);

}  // namespace quillon::platform::macos
