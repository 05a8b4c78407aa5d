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

  // The accessibility actions.
  void increment();
  void decrement();

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 signals:
  // After the slider wrote a new value through the binding.
  void edited(double value);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  void write(double v);
  void dragTo(double x);

  QString title_;
  Binding<double> value_;
  ValueRange range_;
  double step_;
  double knob_ = 18;
};

}  // namespace quillon::ui
