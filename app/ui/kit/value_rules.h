#pragma once

// The arithmetic of the controls, apart from any widget: the slider's
// snapping, the number field's reading of typed text, the DPI stepper and
// printf-style value text.

#include <QString>
#include <optional>

namespace quillon::ui {

// A closed range of allowed values.
struct ValueRange {
  double lower = 0;
  double upper = 1;
};

// The nearest step counted from lower (halves away from zero), never below
// lower nor above upper.
double snap(double v, ValueRange range, double step);

// v rounded to decimals places, halves away from zero.
double roundToDecimals(double v, int decimals);

// Typed text as a number: commas read as points, every character but
// "0123456789.-" dropped, then the rest must read whole as a C-locale
// decimal number ("1,5" -> 1.5, "12px" -> 12, "abc" and "" -> nothing).
std::optional<double> parseTyped(const QString& text);

// What a commit writes: the parsed text clamped into range and rounded, or
// nothing when the text does not read as a number.
std::optional<double> committedValue(const QString& text, ValueRange range, int decimals);

// The DPI stepper: to the next whole hundred up or down, within range.
double hundredsUp(double v, ValueRange range);
double hundredsDown(double v, ValueRange range);

// A printf pattern for one double ("%.2f×"), always in the C locale.
QString formatValue(const QString& pattern, double v);

}  // namespace quillon::ui
