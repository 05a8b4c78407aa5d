#pragma once

// The menu bar item and the panel that opens below it. The panel is a
// frameless, always-on-top tool window (not a Qt::Popup, which would grab
// the pointer and swallow the click in another app that closes it); clicks
// in other apps come from the platform's global mouse-down monitor, and the
// app ceasing to be active closes it too. Main thread only.

#include <QObject>
#include <QPointF>
#include <QPointer>
#include <QRectF>
#include <QSizeF>
#include <functional>
#include <memory>
#include <optional>

#include "app/core/env.h"
#include "app/ui/menubar/status_item.h"
#include "app/ui/panel/panel_view.h"

namespace quillon::app {
class Model;
}

namespace quillon::ui {

class PanelWindow;

class MenuBarPanel : public QObject {
  Q_OBJECT
 public:
  static constexpr double kInitialWidth = 300;
  static constexpr double kInitialHeight = 600;

  // What the panel needs of the rest of the app.
  struct Hooks {
    PanelActions actions;               // the footer's buttons
    std::function<void()> activateApp;  // the app to the front, ignoring other apps
    // Re-reads the system's appearance; each opening calls it.
    std::function<void()> followAppearance;
  };

  MenuBarPanel(app::Env& env, app::Model& model, Hooks hooks, QObject* parent = nullptr);
  ~MenuBarPanel() override;

  // Creates the item and the panel (once): the item shows the symbol
  // "hand.point.up.left" and toggles the panel; the panel holds the view.
  void setUp(std::unique_ptr<StatusItem> item);
  // The item's click: the setup window until setup was finished once, else
  // the panel opens or closes.
  void toggle();
  // Opens the panel below the item; nothing when it is open already.
  void show();
  // Hides the panel; harmless when it is closed.
  void close();
  // The content's new size: a change of more than half a point resizes the
  // panel on the next turn, growing or shrinking downward from its top-left
  // corner, never past the bottom of the screen's visible frame (the rest
  // scrolls).
  void contentSize(QSizeF size);

  bool isOpen() const;
  std::optional<QRectF> panelFrame() const;
  QPointF topLeft() const { return topLeft_; }
  // The content's size; the window may be shorter (see contentSize).
  QSizeF size() const { return size_; }

  StatusItem* item() const { return item_.get(); }
  PanelWindow* window() const { return window_; }
  PanelView* view() const { return view_; }
  bool monitoringOutsideClicks() const { return outsideClicks_ != nullptr; }

 private:
  bool setupDone();
  void placeWindow();
  void applicationStateChanged(Qt::ApplicationState state);

  app::Env& env_;
  app::Model& model_;
  Hooks hooks_;
  std::unique_ptr<StatusItem> item_;
  PanelWindow* window_ = nullptr;  // owned here, deleted in the destructor
  PanelView* view_ = nullptr;
  std::unique_ptr<platform::EventSource::Monitor> outsideClicks_;
  Qt::ApplicationState appState_ = Qt::ApplicationActive;  // as last reported
  QPointF topLeft_;
  QSizeF size_{kInitialWidth, kInitialHeight};
};

}  // namespace quillon::ui
