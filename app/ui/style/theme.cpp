#include "app/ui/style/theme.h"

#include <QApplication>
#include <QPalette>

#include "app/ui/style/app_style.h"
#include "app/ui/style/contrast.h"

namespace quillon::ui {
namespace {

QColor black(double a) {
  return QColor(0, 0, 0, qRound(a * 255));
}
QColor white(double a) {
  return QColor(255, 255, 255, qRound(a * 255));
}

Palette makeLight() {
  Palette p;
  p.dark = false;
  p.blue = QColor(0x007AFF);
  p.green = QColor(0x28CD41);
  p.orange = QColor(0xFF9500);
  p.purple = QColor(0xAF52DE);
  p.pink = QColor(0xFF2D55);
  p.teal = QColor(0x59ADC4);
  p.cyan = QColor(0x55BEF0);
  p.gray = QColor(0x8E8E93);
  p.red = QColor(0xFF3B30);
  // Each plain colour darkened at its own hue to 4.5 : 1 on the graph.
  p.greenText = QColor(0x187A27);
  p.orangeText = QColor(0x995900);
  p.purpleText = QColor(0x9E2ED7);
  p.pinkText = QColor(0xD50029);
  p.tealText = QColor(0x2F7183);
  p.cyanText = QColor(0x0E709E);
  p.grayText = QColor(0x69696E);
  p.grayLine = QColor(0x85858A);
  p.cyanLine = QColor(0x128DC8);
  p.orangeLine = QColor(0xC27100);
  p.accent = p.blue;
  p.label = black(0.85);
  p.secondaryLabel = black(0.56);  // a touch darker than macOS's 0.50: 4.5 : 1 on the graph
  p.tertiaryLabel = black(0.26);
  p.separator = black(0.10);
  p.windowBackground = QColor(0xECECEC);
  p.controlBackground = QColor(0xFFFFFF);
  p.panelBackground = QColor(0xF6F6F6);
  p.segmentTrack = black(0.06);
  p.segmentSelected = QColor(0xFFFFFF);
  p.switchTrackOff = black(0.09);
  p.buttonFace = QColor(0xFFFFFF);
  p.buttonFacePressed = QColor(0xE5E5E5);
  p.buttonBorder = black(0.15);
  p.fieldBorder = black(0.20);
  p.menuBar = QColor(0xF2F2F2);  // white at 80 % over a light desktop
  p.statusHighlight = black(0.10);
  return p;
}

Palette makeDark() {
  Palette p;
  p.dark = true;
  p.blue = QColor(0x0A84FF);
  p.green = QColor(0x32D74B);
  p.orange = QColor(0xFF9F0A);
  p.purple = QColor(0xBF5AF2);
  p.pink = QColor(0xFF375F);
  p.teal = QColor(0x6AC4DC);
  p.cyan = QColor(0x5AC8F5);
  p.gray = QColor(0x98989D);
  p.red = QColor(0xFF453A);
  // Dark mode's plain colours read well except purple, pink and grey on the
  // graph: those lightened at their own hue.
  p.greenText = p.green;
  p.orangeText = p.orange;
  p.purpleText = QColor(0xCE80F5);
  p.pinkText = QColor(0xFF6F8C);
  p.tealText = p.teal;
  p.cyanText = p.cyan;
  p.grayText = QColor(0x9F9FA3);
  p.grayLine = p.gray;
  p.cyanLine = p.cyan;
  p.orangeLine = p.orange;
  p.accent = p.blue;
  p.label = white(0.85);
  p.secondaryLabel = white(0.55);
  p.tertiaryLabel = white(0.25);
  p.separator = white(0.10);
  p.windowBackground = QColor(0x323232);
  p.controlBackground = QColor(0x1E1E1E);
  p.panelBackground = QColor(0x2C2C2E);
  p.segmentTrack = white(0.10);
  p.segmentSelected = QColor(0x636366);
  p.switchTrackOff = white(0.15);
  p.buttonFace = QColor(0x5A5A5C);
  p.buttonFacePressed = QColor(0x6E6E70);
  p.buttonBorder = Qt::transparent;
  p.fieldBorder = white(0.20);
  p.menuBar = QColor(0x262626);  // #1E1E1E at 80 % over a dark desktop
  p.statusHighlight = white(0.20);
  return p;
}

}  // namespace

const Palette& Palette::light() {
  static const Palette p = makeLight();
  return p;
}

const Palette& Palette::darkPalette() {
  static const Palette p = makeDark();
  return p;
}

QColor withAlpha(QColor c, double factor) {
  c.setAlphaF(static_cast<float>(c.alphaF() * factor));
  return c;
}

Appearance& Appearance::instance() {
  static Appearance a;
  return a;
}

void Appearance::setDark(bool dark) {
  const bool was = dark_;
  dark_ = dark;
  apply();
  if (was != dark) emit changed(dark);
}

void Appearance::apply() {
  if (qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr) {
    applyAppStyle(colors());
  }
}

const Palette& colors() {
  return Appearance::instance().isDark() ? Palette::darkPalette() : Palette::light();
}

QColor termColor(Term t, const Palette& p) {
  switch (t) {
    case Term::speed:
      return p.orange;
    case Term::accel:
      return p.green;
    case Term::shape:
      return p.purple;
    case Term::threshold:
      return p.pink;
    case Term::boost:
      return p.teal;
  }
  return p.label;
}

QColor termTextColor(Term t, const Palette& p) {
  switch (t) {
    case Term::speed:
      return p.orangeText;
    case Term::accel:
      return p.greenText;
    case Term::shape:
      return p.purpleText;
    case Term::threshold:
      return p.pinkText;
    case Term::boost:
      return p.tealText;
  }
  return p.label;
}

QColor curveColor(CurveMode m, const Palette& p) {
  switch (m) {
    case CurveMode::mac:
      return p.gray;
    case CurveMode::windows:
      return p.cyan;
    case CurveMode::custom:
      return p.orange;
  }
  return p.label;
}

QColor curveLineColor(CurveMode m, const Palette& p) {
  switch (m) {
    case CurveMode::mac:
      return p.grayLine;
    case CurveMode::windows:
      return p.cyanLine;
    case CurveMode::custom:
      return p.orangeLine;
  }
  return p.label;
}

QColor curveTextColor(CurveMode m, const Palette& p) {
  switch (m) {
    case CurveMode::mac:
      return p.grayText;
    case CurveMode::windows:
      return p.cyanText;
    case CurveMode::custom:
      return p.orangeText;
  }
  return p.label;
}

QColor graphBackground(const Palette& p) {
  return composite(withAlpha(p.secondaryLabel, kGraphTint), p.panelBackground);
}

QString modeName(CurveMode m) {
  switch (m) {
    case CurveMode::mac:
      return QStringLiteral("Mac");
    case CurveMode::windows:
      return QStringLiteral("Windows");
    case CurveMode::custom:
      return QStringLiteral("Custom");
  }
  return {};
}

}  // namespace quillon::ui
