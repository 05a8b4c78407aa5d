#pragma once

// A modal alert drawn as macOS draws one: the app's icon, a bold message,
// the informative text below it, and the buttons in the order given. Qt's
// own message box orders buttons by role on some platforms; here the order
// is the caller's: the first button is the default one (Return), the row
// runs from right to left, and buttons that do not fit side by side stack
// with the first on top. Escape presses a button titled "Cancel", if there
// is one. It stays above the app's floating windows (setup). Main thread only.

#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

namespace quillon::ui {

enum class AlertStyle { informational, warning, critical };

struct AlertSpec {
  QString message;
  QString informativeText;
  // In order; the first is the default. At least one; an empty list gets
  // "OK".
  QStringList buttons;
  AlertStyle style = AlertStyle::warning;
  // The index of a button whose action cannot be undone: its title is red.
  int destructive = -1;
};

// Shows the alert and waits: the index of the button pressed, or -1 when the
// alert was closed without one.
int runAlert(const AlertSpec& spec);

// The alert's window while runAlert waits (null otherwise); its buttons are
// named "alertButton0", "alertButton1", ... in the order the caller gave.
QWidget* currentAlert();

// Tests answer alerts without showing them: while a responder is set,
// runAlert returns what it answers for the alert asked. An empty function shows
// alerts again.
using AlertResponder = std::function<int(const AlertSpec&)>;
void setAlertResponder(AlertResponder responder);

}  // namespace quillon::ui
