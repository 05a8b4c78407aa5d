#include "app/ui/tabular_text.h"

#include <QFontMetricsF>
#include <QPainter>

namespace quillon::ui {
namespace {

double digitAdvance(const QFontMetricsF& fm) {
  double widest = 0;
  for (QChar c = u'0'; c <= u'9'; c = QChar(c.unicode() + 1)) {
    widest = std::max(widest, fm.horizontalAdvance(c));
  }
  return widest;
}

// Calls run(text, isDigits) for each stretch of digits and of other text.
template <class F>
void forEachRun(const QString& text, F run) {
  qsizetype start = 0;
  while (start < text.size()) {
    const bool digits = text[start].isDigit();
    qsizetype end = start + 1;
    while (end < text.size() && text[end].isDigit() == digits) ++end;
    run(QStringView(text).mid(start, end - start), digits);
    start = end;
  }
}

}  // namespace

double tabularWidth(const QFont& font, const QString& text) {
  const QFontMetricsF fm(font);
  const double cell = digitAdvance(fm);
  double width = 0;
  forEachRun(text, [&](QStringView run, bool digits) {
    width += digits ? cell * static_cast<double>(run.size()) : fm.horizontalAdvance(run.toString());
  });
  return width;
}

double drawTabular(QPainter& painter, QPointF baseline, const QFont& font, const QString& text) {
  const QFontMetricsF fm(font);
  const double cell = digitAdvance(fm);
  painter.setFont(font);
  double x = baseline.x();
  forEachRun(text, [&](QStringView run, bool digits) {
    if (!digits) {
      const QString s = run.toString();
      painter.drawText(QPointF(x, baseline.y()), s);
      x += fm.horizontalAdvance(s);
      return;
    }
    for (QChar c : run) {
      const double w = fm.horizontalAdvance(c);
      painter.drawText(QPointF(x + (cell - w) / 2, baseline.y()), QString(c));
      x += cell;
    }
  });
  return x - baseline.x();
}

}  // namespace quillon::ui
