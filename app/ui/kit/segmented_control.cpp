#include "app/ui/kit/segmented_control.h"

#include <QMouseEvent>
#include <QPainter>

#include "app/ui/style/fonts.h"
#include "app/ui/style/theme.h"

namespace quillon::ui {
namespace {
constexpr int kHeight = 22;
constexpr double kInset = 2;
}  // namespace

SegmentedControl::SegmentedControl(QStringList segments, QWidget* parent)
    : QWidget(parent), segments_(std::move(segments)) {
  setFocusPolicy(Qt::NoFocus);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  setFont(fonts::body());
}

void SegmentedControl::setCurrentIndex(int index) {
  if (index < 0 || index >= count() || index == current_) return;
  current_ = index;
  update();
}

QSize SegmentedControl::sizeHint() const {
  const QFontMetricsF fm(fonts::body(QFont::DemiBold));
  double widest = 0;
  for (const QString& s : segments_) widest = std::max(widest, fm.horizontalAdvance(s));
  return {qCeil((widest + 24) * count()), kHeight};
}

QSize SegmentedControl::minimumSizeHint() const {
  return sizeHint();
}

QRect SegmentedControl::segmentRect(int index) const {
  const double w = static_cast<double>(width()) / std::max(1, count());
  return QRectF(index * w, 0, w, height()).toRect();
}

int SegmentedControl::indexAt(QPointF p) const {
  if (!rect().contains(p.toPoint()) || count() == 0) return -1;
  const double w = static_cast<double>(width()) / count();
  return std::clamp(static_cast<int>(p.x() / w), 0, count() - 1);
}

void SegmentedControl::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  pressed_ = indexAt(event->position());
  update();
}

void SegmentedControl::mouseReleaseEvent(QMouseEvent* event) {
  const int at = indexAt(event->position());
  const int was = pressed_;
  pressed_ = -1;
  if (at >= 0 && at == was && isEnabled()) {
    current_ = at;
    emit activated(at);
  }
  update();
}

void SegmentedControl::paintEvent(QPaintEvent*) {
  const Palette& pal = colors();
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  const QRectF track(0, (height() - kHeight) / 2.0, width(), kHeight);
  p.setPen(Qt::NoPen);
  p.setBrush(pal.segmentTrack);
  p.drawRoundedRect(track, 6, 6);

  const double w = track.width() / std::max(1, count());
  // Hairline separators between two unselected segments.
  p.setPen(QPen(withAlpha(pal.secondaryLabel, 0.35), 1));
  for (int i = 1; i < count(); ++i) {
    if (i == current_ || i - 1 == current_) continue;
    const double x = std::round(track.left() + i * w) + 0.5;
    p.drawLine(QPointF(x, track.top() + 5), QPointF(x, track.bottom() - 5));
  }

  for (int i = 0; i < count(); ++i) {
    const QRectF seg(track.left() + i * w, track.top(), w, track.height());
    if (i == current_) {
      const QRectF knob = seg.adjusted(kInset, kInset, -kInset, -kInset);
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(0, 0, 0, pal.dark ? 60 : 30));
      p.drawRoundedRect(knob.translated(0, 0.5).adjusted(-0.5, -0.25, 0.5, 0.5), 5, 5);
      p.setBrush(pal.segmentSelected);
      p.drawRoundedRect(knob, 5, 5);
    } else if (i == pressed_) {
      p.setPen(Qt::NoPen);
      p.setBrush(withAlpha(pal.label, 0.06));
      p.drawRoundedRect(seg.adjusted(kInset, kInset, -kInset, -kInset), 5, 5);
    }
    p.setPen(isEnabled() ? pal.label : pal.tertiaryLabel);
    p.setFont(fonts::body());
    p.drawText(seg.adjusted(0, -0.5, 0, -0.5), Qt::AlignCenter, segments_[i]);
  }
}

}  // namespace quillon::ui
