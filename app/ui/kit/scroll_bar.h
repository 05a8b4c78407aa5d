#pragma once

// The graph's position bar: a capsule track with a thumb as wide as the
// visible share of the full range (at least 16 points). Dragging the thumb
// moves the window; pressing beside it centres the thumb on the pointer.
// It thickens from 5 to 7 points while hovered or dragged.

#include <QVariantAnimation>
#include <QWidget>
#include <optional>

#include "common/binding.h"

namespace quillon::ui {

class ScrollBar : public QWidget {
  Q_OBJECT
 public:
  // lo: the graph's left end; writing goes through the graph's clamped setter.
  explicit ScrollBar(Binding<double> lo, QWidget* parent = nullptr);

  void setSpan(double span, double full);
  // Fully transparent (the whole range is visible).
  void setFaded(bool faded);
  bool faded() const { return faded_; }

  double thumbWidth() const;
  double thumbX() const;
  bool hovering() const { return hovering_; }

  // Accessibility and the arrow keys (with the focus, by Tab only): a
  // quarter of the visible width each way.
  void increment();
  void decrement();
  // The graph's left end, through the graph's clamped setter.
  void moveTo(double lo);
  double position() const { return lo_.get(); }
  double span() const { return span_; }
  double full() const { return full_; }

  QSize sizeHint() const override { return {120, 12}; }
  QSize minimumSizeHint() const override { return {40, 12}; }

 signals:
  void moved();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  double travel() const;
  void setHighlighted(bool on);
  void write(double lo);

  Binding<double> lo_;
  double span_ = 1;
  double full_ = 1;
  bool faded_ = false;
  bool hovering_ = false;
  std::optional<double> dragFrom_;
  double pressX_ = 0;
  double thickness_ = 5;
  QVariantAnimation grow_;
};

}  // namespace quillon::ui
