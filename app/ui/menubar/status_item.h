#pragma once

// The app's square item in the menu bar. On macOS an NSStatusItem stands
// behind this; elsewhere the simulated menu bar (sim_menu_bar.h).

#include <QRectF>
#include <QString>
#include <functional>
#include <memory>

namespace quillon::ui {

class StatusItem {
 public:
  virtual ~StatusItem() = default;
  // A symbol of symbols.h, drawn as a template image.
  virtual void setSymbol(const QString& name, const QString& accessibilityDescription) = 0;
  // Runs on a click, on the main thread.
  virtual void setAction(std::function<void()> action) = 0;
  virtual void setHighlighted(bool on) = 0;
  virtual bool highlighted() const = 0;
  // The button's frame, in global Qt coordinates (y down).
  virtual QRectF buttonFrame() const = 0;
  // The visible frame of the button's screen: the screen without the menu
  // bar (and the Dock on a Mac).
  virtual QRectF visibleFrame() const = 0;
};

// The platform's item; on the simulated Mac, the item of a simulated menu
// bar shown along the top of the primary screen.
std::unique_ptr<StatusItem> makeStatusItem();

}  // namespace quillon::ui
