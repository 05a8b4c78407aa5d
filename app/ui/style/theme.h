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
  // The same colours for text: darker in light, lighter in dark wherever the
  // plain colour reads at less than 4.5 : 1 on the panel or the graph, as
  // macOS's own text colours are.
  QColor greenText, orangeText, purpleText, pinkText, tealText, cyanText, grayText;
  // The current curve's line: the plain colour, darker where it stands out
  // from the graph's background by less than 3 : 1.
  QColor grayLine, cyanLine, orangeLine;
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

// The colour that marks each term of the custom formula; the text variant
// for the numbers drawn in it.
enum class Term { speed, accel, shape, threshold, boost };
QColor termColor(Term t, const Palette& p = colors());
QColor termTextColor(Term t, const Palette& p = colors());

// The graph's modes, in drawing and legend order. curveColor draws the faint
// reference curves, curveLineColor the current mode's curve, curveTextColor
// the names and values written in a curve's colour.
enum class CurveMode { mac, windows, custom };
QColor curveColor(CurveMode m, const Palette& p = colors());
QColor curveLineColor(CurveMode m, const Palette& p = colors());
QColor curveTextColor(CurveMode m, const Palette& p = colors());

// The graph's background: the secondary colour at 8 % over the panel.
constexpr double kGraphTint = 0.08;
QColor graphBackground(const Palette& p = colors());
QString modeName(CurveMode m);  // "Mac", "Windows", "Custom"

}  // namespace quillon::ui
