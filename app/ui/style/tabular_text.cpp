#include "app/ui/style/tabular_text.h"

#include <QFontMetricsF>
#include <QHash>
#include <QPainter>
#include <QStaticText>

namespace quillon::ui {
namespace {

// A string laid out once for a font: repainting the same labels (the
// graph's legend and axis text, every frame of a drag) neither shapes nor
// measures them again. The strings drawn are few (words, single digits);
// the cache is emptied should it ever grow large.
struct Laid {
  QStaticText text;
  double advance = 0;
};

const Laid& laid(const QFont& font, const QString& text) {
  static QHash<QString, Laid> cache;
  const QString key = font.key() + QChar(0x1F) + text;
  auto it = cache.find(key);
  if (it == cache.end()) {
    if (cache.size() > 2048) cache.clear();
    Laid l{QStaticText(text), QFontMetricsF(font).horizontalAdvance(text)};
    l.text.setTextFormat(Qt::PlainText);
    l.text.setPerformanceHint(QStaticText::AggressiveCaching);
    l.text.prepare(QTransform(), font);
    it = cache.insert(key, l);
  }
  return *it;
}

double digitCell(const QFont& font) {
  static QHash<QString, double> cache;
  const QString key = font.key();
  auto it = cache.find(key);
  if (it == cache.end()) {
    const QFontMetricsF fm(font);
    double widest = 0;
    for (char16_t c = u'0'; c <= u'9'; ++c)
      widest = std::max(widest, fm.horizontalAdvance(QChar(c)));
    it = cache.insert(key, widest);
  }
  return *it;
}

// Calls run(text, isDigits) for each stretch of digits and of other text.
template <class F>
void forEachRun(const QString& text, F run) {
  qsizetype start = 0;
  while (start < text.size()) {
    const bool digits = text[start].isDigit();
    qsizetype end = start + 1;
    while (end < text.size() && text[end].isDigit() == digits) ++end;
    run(text.mid(start, end - start), digits);
    start = end;
  }
}

}  // namespace

void drawCached(QPainter& painter, QPointF baseline, const QFont& font, const QString& text) {
  painter.setFont(font);
  painter.drawStaticText(QPointF(baseline.x(), baseline.y() - QFontMetricsF(font).ascent()),
                         laid(font, text).text);
}

double tabularWidth(const QFont& font, const QString& text) {
  const double cell = digitCell(font);
  double width = 0;
  forEachRun(text, [&](const QString& run, bool digits) {
    width += digits ? cell * static_cast<double>(run.size()) : laid(font, run).advance;
  });
  return width;
}

double drawTabular(QPainter& painter, QPointF baseline, const QFont& font, const QString& text) {
  const double cell = digitCell(font);
  double x = baseline.x();
  forEachRun(text, [&](const QString& run, bool digits) {
    if (!digits) {
      drawCached(painter, QPointF(x, baseline.y()), font, run);
      x += laid(font, run).advance;
      return;
    }
    for (QChar c : run) {
      const QString glyph(c);
      drawCached(painter, QPointF(x + (cell - laid(font, glyph).advance) / 2, baseline.y()), font,
                 glyph);
      x += cell;
    }
  });
  return x - baseline.x();
}

}  // namespace quillon::ui
