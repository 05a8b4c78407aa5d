#pragma once

// macOS's colours in both appearances. Qt 6.4 on Linux can neither read nor
// force a colour scheme, so the app keeps its own two palettes and switches
// between them when told (Appearance::setDark); widgets read the current
// palette when they paint.

#include <QColor>
#include <QObject>
#include <QString>

namespace quillon::ui {

struct Palette {
  bool dark = false;
  // Named system colours.
  QColor blue, green, orange, purple, pink, teal, cyan, gray, red;
  // Semantic colours.
  QColor accent;
  QColor label;           // primary text
  QColor secondaryLabel;  // help lines, plain values
  QColor tertiaryLabel;   // disabled text
  QColor separator;
  QColor windowBackground;
  QColor controlBackground;  // text fields
  QColor panelBackground;    // the popover material, opaque
  // Controls.
  QColor segmentTrack;
  QColor segmentSelected;
  QColor switchTrackOff;
  QColor buttonFace;
  QColor buttonFacePressed;
  QColor buttonBorder;  // transparent in dark
  QColor fieldBorder;
  QColor menuBar;
  QColor statusHighlight;

  static const Palette& light();
  static const Palette& darkPalette();
};

// A colour with its alpha multiplied: "secondary colour at 8 %".
QColor withAlpha(QColor c, double factor);

// The app's appearance. One instance; widgets repaint through the palette
// change that setDark sends to every widget.
class Appearance : public QObject {
  Q_OBJECT
 public:
  static Appearance& instance();
  bool isDark() const { return dark_; }
  // Sets the palette, the application's QPalette and its style sheet.
  void setDark(bool dark);
  // Applies the current appearance again (after QApplication exists).
  void apply();

 signals:
  void changed(bool dark);

 private:
  Appearance() = default;
  bool dark_ = false;
};

// The palette of the current appearance.
const Palette& colors();

// The colour that marks each term of the custom formula.
enum class Term { speed, accel, shape, threshold, boost };
QColor termColor(Term t, const Palette& p = colors());

// The graph's modes, in drawing and legend order.
enum class CurveMode { mac, windows, custom };
QColor curveColor(CurveMode m, const Palette& p = colors());
QString modeName(CurveMode m);  // "Mac", "Windows", "Custom"

}  // namespace quillon::ui
