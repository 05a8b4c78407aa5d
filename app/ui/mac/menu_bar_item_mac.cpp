// The NSStatusItem behind the app's menu bar item. Built on a Mac only
// (app/ui/CMakeLists.txt); compile-checked elsewhere.
#include <QString>

#include "app/ui/kit/placement.h"
#include "app/ui/menubar/menu_bar_item.h"
#include "platform/macos/app/status_item.h"

namespace quillon::ui {
namespace {

using platform::macos::MacRect;
using platform::macos::MacStatusItem;

QRectF fromMac(const MacRect& r, double primaryHeight) {
  return placement::fromAppKit(QRectF(r.x, r.y, r.width, r.height), primaryHeight);
}

class MacMenuBarItem final : public StatusItem {
 public:
  // The AppKit item exists from the symbol on; its clicks run the action
  // set at any time.
  void setSymbol(const QString& name, const QString& description) override {
    item_ = std::make_unique<MacStatusItem>(name.toStdString(), description.toStdString(), [this] {
      if (action_) action_();
    });
    if (highlighted_) item_->setHighlighted(true);
  }
  void setAction(std::function<void()> action) override { action_ = std::move(action); }
  void setHighlighted(bool on) override {
    highlighted_ = on;
    if (item_) item_->setHighlighted(on);
  }
  bool highlighted() const override { return highlighted_; }
  // Empty while the button or its window is missing: the panel then stays
  // closed.
  QRectF buttonFrame() const override {
    const auto p = item_ ? item_->buttonFrameInScreen() : std::nullopt;
    return p ? fromMac(p->button, p->primaryScreenHeight) : QRectF();
  }
  QRectF visibleFrame() const override {
    const auto p = item_ ? item_->buttonFrameInScreen() : std::nullopt;
    return p ? fromMac(p->visibleFrame, p->primaryScreenHeight) : QRectF();
  }

 private:
  std::unique_ptr<MacStatusItem> item_;
  std::function<void()> action_;
  bool highlighted_ = false;
};

}  // namespace

std::unique_ptr<StatusItem> makeMenuBarItem(platform::AppBackend&) {
  return std::make_unique<MacMenuBarItem>();
}

}  // namespace quillon::ui
