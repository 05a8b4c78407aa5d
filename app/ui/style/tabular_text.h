#pragma once

// Text with digits of equal width. Inter's figures are proportional and Qt
// 6.4 cannot switch on a font's tabular figures, so each digit gets the
// advance of the widest one here; a value that changes then does not make
// the text around it jitter.

#include <QFont>
#include <QPointF>
#include <QString>

class QPainter;

namespace quillon::ui {

double tabularWidth(const QFont& font, const QString& text);

// Draws text starting at the baseline point; returns its advance.
double drawTabular(QPainter& painter, QPointF baseline, const QFont& font, const QString& text);

// Draws text from a cache of laid-out strings (for labels repainted often).
void drawCached(QPainter& painter, QPointF baseline, const QFont& font, const QString& text);

}  // namespace quillon::ui
