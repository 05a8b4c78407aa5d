#pragma once

// The menu bar panel's window behaviour, given to the window that Qt made
// for it (panel_window.mm). Plain C++: the UI passes QWindow::winId(),
// which on a Mac is the window's NSView*.
//
// Qt makes an NSPanel (QNSPanel) for a Qt::Tool window and an NSWindow for
// other top-level windows. Only an NSPanel can be non-activating, and only
// from its creation: the window server reads the setting when the window is
// made, not when the style mask changes later. So the UI creates the panel
// as Qt::Tool | Qt::FramelessWindowHint inside createNonactivating(); every
// other part of the behaviour works on either kind of window.
//
// Qt sets a window's level and hidesOnDeactivate itself whenever it applies
// window flags, and may replace the NSWindow when the flags change. So call
// configure() after each show(); it is cheap and idempotent.

#include <functional>
#include <memory>
#include <string>

namespace quillon::platform::macos::MacPanelWindow {

// Runs `create`, which makes the panel's window (QWidget::winId() on a
// widget without one), with every NSPanel made meanwhile created with
// NSWindowStyleMaskNonactivatingPanel: a click in it then leaves the user's
// app active. False when `create` made no NSPanel (the window existed
// already, or Qt made it later or as another class), and a click in the
// panel may activate this app.
bool createNonactivating(const std::function<void()>& create);

// For the window behind `nsViewOrWindow` (an NSView* or an NSWindow*):
// the non-activating flag on AppKit's side (an NSPanel only; effective only
// for a panel made by createNonactivating), level 101 (the pop-up menu level),
// no hiding when the app deactivates, moves to the active Space and shows
// over full-screen apps, no open/close animation; it can become key but
// never main, and Escape runs `onEscape` on the main thread. An empty
// `onEscape` keeps the one given before.
//
// Escape reaches cancelOperation: only when Qt passes the key on to AppKit;
// the UI should also close the panel on Qt::Key_Escape itself.
//
// False when there is no window behind the handle.
bool configure(void* nsViewOrWindow, std::function<void()> onEscape = {});

// Brings this app forward: NSApp activate on macOS 14 and later,
// activateIgnoringOtherApps:YES below.
void activate();

// VoiceOver says `utf8Text` (NSAccessibilityPostNotificationWithUserInfo
// on NSApp, NSAccessibilityAnnouncementRequestedNotification). Nothing when
// the text is not UTF-8.
void announce(const std::string& utf8Text);

// NSApplicationDidResignActiveNotification, on the main thread, until the
// returned object is destroyed.
struct Observation {
  virtual ~Observation() = default;
};
std::unique_ptr<Observation> observeResignActive(std::function<void()> onResignActive);

}  // namespace quillon::platform::macos::MacPanelWindow
