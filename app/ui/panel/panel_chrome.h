#pragma once

// The panel's frame: the popover background, clipped to a rounded
// rectangle of radius 10 with a hairline inner border. As a top-level
// window it needs see-through corners: with a compositor the window is
// translucent; without one (Xvfb) translucent pixels render black, so the
// corners are cut with a mask instead.

#include <QWidget>

namespace quillon::ui {

class PanelChrome : public QWidget {
  Q_OBJECT
 public:
  static constexpr double kRadius = 10;

  explicit PanelChrome(QWidget* content, QWidget* parent = nullptr);
  QWidget* content() const { return content_; }

  // For a frameless top-level panel: translucent corners when the screen
  // composites, a mask otherwise.
  void setCompositedCorners(bool composited);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void updateMask();

  QWidget* content_;
  bool masked_ = false;
};

}  // namespace quillon::ui
