#pragma once

// What the app sets on QApplication: the Fusion style with macOS's tooltip
// delay, the QPalette and a style sheet for the widgets Qt draws itself
// (menus, tooltips, the number field's text field).

namespace quillon::ui {

struct Palette;

void applyAppStyle(const Palette& p);

// The delay before a help text appears, in milliseconds (the app's
// "NSInitialToolTipDelay"; 500 unless set).
void setToolTipDelay(int ms);
int toolTipDelay();

}  // namespace quillon::ui
