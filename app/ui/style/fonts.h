#pragma once

// The app's type: macOS's system font on a Mac; elsewhere Inter (Debian's
// fonts-inter), the closest free match. Sizes are in points, and one Qt
// logical pixel is one point, so fonts are sized in pixels.

#include <QFont>

namespace quillon::ui::fonts {

constexpr double kBody = 13;
constexpr double kCallout = 12;
constexpr double kCaption = 10;
constexpr double kCaption2 = 10;  // macOS's smallest text style is also 10
constexpr double kTitle2 = 17;
constexpr double kSmallControl = 11;  // text of small buttons

QFont ui(double size, QFont::Weight weight = QFont::Normal);
inline QFont body(QFont::Weight w = QFont::Normal) {
  return ui(kBody, w);
}
inline QFont callout(QFont::Weight w = QFont::Normal) {
  return ui(kCallout, w);
}
inline QFont caption(QFont::Weight w = QFont::Normal) {
  return ui(kCaption, w);
}
inline QFont caption2(QFont::Weight w = QFont::Normal) {
  return ui(kCaption2, w);
}
inline QFont title2(QFont::Weight w = QFont::Normal) {
  return ui(kTitle2, w);
}

// Keyboard shortcuts' glyphs ("⌃⌥⌘0"): the monospaced design (SF Mono) on
// a Mac; elsewhere DejaVu Sans, whose zero is a plain oval. The monospaced
// DejaVu's zero carries a dot and reads as θ at caption size.
QFont keys(double size);

// Makes body text the application's default font.
void installApplicationFont();

}  // namespace quillon::ui::fonts
