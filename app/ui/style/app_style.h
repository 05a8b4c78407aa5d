#pragma once

// What the app sets on QApplication: the Fusion style with macOS's tooltip
// delay, the QPalette and a style sheet for the widgets Qt draws itself
// (menus, tooltips, the number field's text field).

#include <QString>

class QColor;

namespace quillon::ui {

struct Palette;

// A colour as a style sheet writes it: "rgba(r,g,b,a)".
QString cssColor(const QColor& c);

void applyAppStyle(const Palette& p);

// The delay before a help text appears, in milliseconds (the app's
// "NSInitialToolTipDelay"; 500 unless set).
void setToolTipDelay(int ms);
int toolTipDelay();

}  // namespace quillon::ui
