#include "mac_frame.h"

#include <QPainter>
#include <QPainterPath>
#include <QWidget>

#include "app/ui/style/fonts.h"
#include "app/ui/style/theme.h"

namespace quillon::ui::gallery {
namespace {
constexpr double kScale = 2;
constexpr int kMargin = 36;  // room for the shadow
constexpr double kTitleBar = 28;
constexpr double kRadius = 10;
}  // namespace

QImage framedWindow(QWidget* content, const QString& title, TitleButtons buttons) {
  const Palette& pal = colors();
  const double bar = title.isEmpty() ? 0 : kTitleBar;
  const QSizeF window(content->width(), content->height() + bar);
  QImage img((QSizeF(window) + QSizeF(2 * kMargin, 2 * kMargin)).toSize() * kScale,
             QImage::Format_ARGB32_Premultiplied);
  img.setDevicePixelRatio(kScale);
  // A desktop behind the window, so that the shadow and corners show.
  img.fill(pal.dark ? QColor(0x1C2A3A) : QColor(0xB8C8DA));
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  const QRectF frame(QPointF(kMargin, kMargin), window);

  for (int i = 12; i > 0; --i) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 6));
    p.drawRoundedRect(frame.adjusted(-i, -i + 6, i, i + 6), kRadius + i, kRadius + i);
  }
  QPainterPath shape;
  shape.addRoundedRect(frame, kRadius, kRadius);
  p.fillPath(shape, pal.windowBackground);

  p.save();
  p.setClipPath(shape);
  content->render(&p, frame.topLeft().toPoint() + QPoint(0, qRound(bar)), QRegion(),
                  QWidget::DrawChildren);
  p.restore();

  if (bar > 0) {
    p.setFont(fonts::body(QFont::DemiBold));
    p.setPen(pal.label);
    p.drawText(QRectF(frame.left(), frame.top(), frame.width(), bar), Qt::AlignCenter, title);
    const QColor grey = pal.dark ? QColor(0x4D4D4F) : QColor(0xD0D0D2);
    const QColor colours[] = {QColor(0xFF5F57), grey, grey};
    const int count = buttons == TitleButtons::closeOnly ? 1 : 3;
    for (int i = 0; i < count; ++i) {
      const QPointF centre(frame.left() + 14 + i * 20, frame.top() + bar / 2);
      p.setPen(QPen(colours[i].darker(112), 0.5));
      p.setBrush(colours[i]);
      p.drawEllipse(centre, 6, 6);
    }
  }
  p.setPen(QPen(pal.dark ? QColor(255, 255, 255, 45) : QColor(0, 0, 0, 45), 0.5));
  p.setBrush(Qt::NoBrush);
  p.drawRoundedRect(frame.adjusted(0.25, 0.25, -0.25, -0.25), kRadius, kRadius);
  return img;
}

}  // namespace quillon::ui::gallery
