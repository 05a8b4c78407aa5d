#include "app/ui/kit/progress_spinner.h"

#include <QPainter>

#include "app/ui/style/theme.h"

namespace quillon::ui {

namespace {
constexpr int kSpokes = 12;
constexpr int kStepMs = 80;  // one turn a second, roughly
}  // namespace

ProgressSpinner::ProgressSpinner(QWidget* parent, int size) : QWidget(parent), size_(size) {
  setFixedSize(size, size);
  timer_.setInterval(kStepMs);
  connect(&timer_, &QTimer::timeout, this, [this] {
    step_ = (step_ + 1) % kSpokes;
    update();
  });
}

void ProgressSpinner::showEvent(QShowEvent*) {
  timer_.start();
}

void ProgressSpinner::hideEvent(QHideEvent*) {
  timer_.stop();
}

void ProgressSpinner::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  const QColor base = colors().label;
  const double r = size_ / 2.0;
  p.translate(r, r);
  for (int i = 0; i < kSpokes; ++i) {
    // The newest spoke is darkest; the others fade behind it.
    const int age = (step_ - i + kSpokes) % kSpokes;
    QColor c = base;
    c.setAlphaF(base.alphaF() * (1.0 - 0.07 * age));
    p.setPen(QPen(c, size_ / 9.0, Qt::SolidLine, Qt::RoundCap));
    p.save();
    p.rotate(360.0 * i / kSpokes);
    p.drawLine(QPointF(0, -r * 0.45), QPointF(0, -r * 0.9));
    p.restore();
  }
}

}  // namespace quillon::ui
