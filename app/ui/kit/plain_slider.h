#pragma once

// A thin, flat slider without tick marks that snaps to its step. It reads
// its value through the binding whenever it paints, and writes every change
// of a drag through it. It takes the keyboard focus by Tab only; the arrow
// keys and assistive tools move it by its step, and an assistive tool may
// set a value, snapped as a drag would.

#include <QWidget>
#include <functional>

#include "app/ui/kit/focus_ring.h"

#include "app/ui/kit/value_rules.h"
#include "common/binding.h"

namespace quillon::ui {

class PlainSlider : public QWidget, public FocusOutline {
  Q_OBJECT
 public:
  PlainSlider(QString title, Binding<double> value, ValueRange range, double step,
              QWidget* parent = nullptr);

  double snap(double v) const { return ui::snap(v, range_, step_); }
  double value() const { return value_.get(); }
  ValueRange range() const { return range_; }
  double step() const { return step_; }
  const QString& title() const { return title_; }
  double knob() const { return knob_; }
  void setKnob(double diameter);
  bool isDragging() const { return dragging_; }

  // The accessibility actions and the arrow keys.
  void increment();
  void decrement();
  // To v, snapped, as a drag to it would.
  void assign(double v);

  // How the value reads (the label's text beside the slider); "%g" until
  // set.
  void setValueText(std::function<QString(double)> text) { valueText_ = std::move(text); }
  QString valueText() const;

  QRectF knobRect() const;
  QPainterPath focusOutline() const override;

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 signals:
  // After the slider wrote a new value through the binding.
  void edited(double value);
  // The pointer took the knob (before the first value of the drag is
  // written) and let it go. Steps through the accessibility actions are no
  // drag.
  void dragStarted();
  void dragEnded();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void write(double v);
  void dragTo(double x);
  void endDrag();

  QString title_;
  Binding<double> value_;
  ValueRange range_;
  double step_;
  double knob_ = 18;
  bool dragging_ = false;
  std::function<QString(double)> valueText_;
};

}  // namespace quillon::ui
