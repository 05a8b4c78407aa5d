#pragma once

// A thin, flat slider without tick marks that snaps to its step. It reads
// its value through the binding whenever it paints, and writes every change
// of a drag through it. It never takes keyboard focus; assistive tools move
// it by its increment and decrement actions.

#include <QWidget>

#include "app/ui/kit/value_rules.h"
#include "common/binding.h"

namespace quillon::ui {

class PlainSlider : public QWidget {
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

  // The accessibility actions.
  void increment();
  void decrement();

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
};

}  // namespace quillon::ui
