#pragma once

// Legibility arithmetic: the relative luminance and contrast ratio of
// colours as the web's accessibility guidelines define them, with
// translucent colours laid over what they are drawn on first.

#include <QColor>

namespace quillon::ui {

// fg laid over bg (bg taken as opaque): what the eye sees.
QColor composite(const QColor& fg, const QColor& bg);

// Relative luminance of an opaque sRGB colour, 0 (black) to 1 (white).
double relativeLuminance(const QColor& c);

// (lighter + 0.05) / (darker + 0.05) of fg laid over the opaque bg: 1 to 21.
double contrastRatio(const QColor& fg, const QColor& bg);

// What text needs to be read at the sizes the panel uses, and what a line
// or a shape needs to be made out.
constexpr double kTextContrast = 4.5;
constexpr double kGraphicContrast = 3.0;

}  // namespace quillon::ui
