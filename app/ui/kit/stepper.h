#pragma once

// macOS's stepper: two small arrows stacked in one bordered capsule, about
// 13 × 22 points. Holding an arrow repeats it.

#include <QTimer>
#include <QWidget>

namespace quillon::ui {

class Stepper : public QWidget {
  Q_OBJECT
 public:
  explicit Stepper(QWidget* parent = nullptr);
  QSize sizeHint() const override { return {13, 22}; }
  QSize minimumSizeHint() const override { return sizeHint(); }

 signals:
  void stepUp();
  void stepDown();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  enum class Half { none, up, down };
  void fire();

  Half pressed_ = Half::none;
  QTimer repeat_;
};

}  // namespace quillon::ui
