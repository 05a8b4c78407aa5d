#include "status_item.h"

#import <AppKit/AppKit.h>

#include "ns_text.h"

// The status button's target: AppKit's target-action needs an object.
@interface QuillonStatusItemTarget : NSObject {
 @public
  std::function<void()> onClick;
}
- (void)clicked:(id)sender;
@end

@implementation QuillonStatusItemTarget
- (void)clicked:(id)sender {
  (void)sender;
  if (onClick) onClick();
}
@end

namespace quillon::platform::macos {
namespace {

MacRect macRect(NSRect r) {
  return {r.origin.x, r.origin.y, r.size.width, r.size.height};
}

}  // namespace

struct MacStatusItem::Impl {
  NSStatusItem* item = nil;
  QuillonStatusItemTarget* target = nil;  // the button holds it weakly
};

MacStatusItem::MacStatusItem(const std::string& symbolName,
                             const std::string& accessibilityDescription,
                             std::function<void()> onClick)
    : impl_(std::make_unique<Impl>()) {
  impl_->target = [[QuillonStatusItemTarget alloc] init];
  impl_->target->onClick = std::move(onClick);
  impl_->item = [NSStatusBar.systemStatusBar statusItemWithLength:NSSquareStatusItemLength];
  NSStatusBarButton* button = impl_->item.button;
  button.image = [NSImage imageWithSystemSymbolName:nsString(symbolName)
                           accessibilityDescription:nsString(accessibilityDescription)];
  button.target = impl_->target;
  button.action = @selector(clicked:);
}

MacStatusItem::~MacStatusItem() {
  if (impl_->item != nil) [NSStatusBar.systemStatusBar removeStatusItem:impl_->item];
}

void MacStatusItem::setHighlighted(bool on) {
  [impl_->item.button highlight:on];
}

std::optional<StatusButtonPlacement> MacStatusItem::buttonFrameInScreen() const {
  NSStatusBarButton* button = impl_->item.button;
  NSWindow* window = button.window;
  if (button == nil || window == nil) return std::nullopt;
  StatusButtonPlacement out;
  out.button = macRect([window convertRectToScreen:[button convertRect:button.bounds toView:nil]]);
  NSScreen* screen = window.screen != nil ? window.screen : NSScreen.mainScreen;
  if (screen != nil) out.visibleFrame = macRect(screen.visibleFrame);
  if (NSScreen* primary = NSScreen.screens.firstObject) {
    out.primaryScreenHeight = primary.frame.size.height;
  }
  return out;
}

}  // namespace quillon::platform::macos
