#pragma once

// macOS's push button in its three looks: plain (white, dark #5A5A5C, with a
// hairline border), default (the accent colour with white text: the button
// that Return presses) and destructive (a plain button whose title is red).
// A disabled button is plain with a dimmed title, whatever its look.

#include <QAbstractButton>

#include "app/ui/kit/focus_ring.h"

namespace quillon::ui {

enum class ButtonLook { plain, primary, destructive };

class PushButton : public QAbstractButton, public FocusOutline {
  Q_OBJECT
 public:
  explicit PushButton(const QString& title, ButtonLook look = ButtonLook::plain,
                      QWidget* parent = nullptr);

  ButtonLook look() const { return look_; }
  void setLook(ButtonLook look);
  // Height of the face in points: 22 in windows, taller in alerts.
  void setFaceHeight(int points);
  // Extra width on each side of the title.
  void setPadding(int points);

  QSize sizeHint() const override;
  QPainterPath focusOutline() const override;
  QSize minimumSizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  ButtonLook look_;
  int faceHeight_ = 22;
  int padding_ = 14;
};

}  // namespace quillon::ui
