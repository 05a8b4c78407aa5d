#pragma once

// The platform's side of the panel window: on a Mac the NSPanel behaviour
// (non-activating, pop-up menu level, every Space, Escape), given again
// after each show because Qt resets some of it (app/ui/mac/). Nothing
// elsewhere.

#include <QWidget>
#include <functional>

namespace quillon::ui {

// Makes the window's platform window now, before its first show: on a Mac
// an NSPanel that is non-activating from its creation, which the flag set
// later by configurePanelWindow cannot achieve.
void createPanelWindow(QWidget* window);

void configurePanelWindow(QWidget* window, const std::function<void()>& onEscape);

// Asks VoiceOver to say `text` (a changed message line) on a Mac; nothing
// elsewhere, where the label's name-changed event is all a screen reader
// gets.
void announce(const QString& text);

}  // namespace quillon::ui
