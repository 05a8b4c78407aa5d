#pragma once

// The menu bar's status item, for the Qt UI on a Mac (status_item.mm).
// Plain C++: the UI includes it without any Apple header.
//
// Coordinates are AppKit's screen space: origin at the bottom left of the
// primary screen, y upwards. Qt's global coordinates have the origin at the
// top left of the primary screen, y downwards:
//   qtTop = primaryScreenHeight - (rect.y + rect.height)

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace quillon::platform::macos {

struct MacRect {
  double x = 0;
  double y = 0;
  double width = 0;
  double height = 0;
};

struct StatusButtonPlacement {
  MacRect button;        // the status button in screen coordinates
  MacRect visibleFrame;  // of the button's screen (else the main screen); zero with no screen
  double primaryScreenHeight = 0;  // for the conversion above
};

class MacStatusItem {
 public:
  // A square item in the system status bar showing the SF Symbol
  // `symbolName`, described as `accessibilityDescription` to VoiceOver.
  // `onClick` runs on the main thread for each click.
  MacStatusItem(const std::string& symbolName, const std::string& accessibilityDescription,
                std::function<void()> onClick);
  ~MacStatusItem();  // removes the item from the status bar
  MacStatusItem(const MacStatusItem&) = delete;
  MacStatusItem& operator=(const MacStatusItem&) = delete;

  void setHighlighted(bool on);
  // Nullopt while the button or its window is missing.
  std::optional<StatusButtonPlacement> buttonFrameInScreen() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace quillon::platform::macos
