#pragma once

// The panel's window: frameless, always on top, a tool window (an NSPanel
// on a Mac), holding the panel's chrome around its view. Escape closes it.
// It takes the typing focus for its number fields, but none of its
// controls takes the focus on a click.

#include <QWidget>
#include <functional>

namespace quillon::ui {

class PanelChrome;

class PanelWindow : public QWidget {
  Q_OBJECT
 public:
  PanelWindow(QWidget* content, std::function<void()> onEscape);

  PanelChrome* chrome() const { return chrome_; }
  // The platform's panel behaviour; after each show (see panel_platform.h).
  void configurePlatform();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  PanelChrome* chrome_;
  std::function<void()> onEscape_;
};

// Whether frameless windows get see-through corners here: with a
// compositor. Without one (X11 without a compositing manager, Xvfb) a
// translucent pixel renders black, so the corners are cut with a mask.
bool screenComposites();

}  // namespace quillon::ui
