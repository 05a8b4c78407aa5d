#pragma once

// macOS's stepper: two small arrows stacked in one bordered capsule, about
// 13 × 22 points. Holding an arrow repeats it. With the keyboard focus (by
// Tab only) the up and down arrow keys step; to assistive tools it is an
// incrementor named by its owner, reading the value it steps.

#include <QTimer>
#include <QWidget>
#include <functional>

#include "app/ui/kit/focus_ring.h"

namespace quillon::ui {

class Stepper : public QWidget, public FocusOutline {
  Q_OBJECT
 public:
  explicit Stepper(QWidget* parent = nullptr);
  QSize sizeHint() const override { return {13, 22}; }
  QSize minimumSizeHint() const override { return sizeHint(); }
  QPainterPath focusOutline() const override;

  // The text of the value the stepper changes, for assistive tools.
  void setValueText(std::function<QString()> text) { valueText_ = std::move(text); }
  QString valueText() const { return valueText_ ? valueText_() : QString(); }

 signals:
  void stepUp();
  void stepDown();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  enum class Half { none, up, down };
  void fire();

  Half pressed_ = Half::none;
  QTimer repeat_;
  std::function<QString()> valueText_;
};

}  // namespace quillon::ui
