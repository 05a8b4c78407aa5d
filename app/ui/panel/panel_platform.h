#pragma once

// The platform's side of the panel window: on a Mac the NSPanel behaviour
// (non-activating, pop-up menu level, every Space, Escape), given again
// after each show because Qt resets some of it (app/ui/mac/). Nothing
// elsewhere.

#include <QWidget>
#include <functional>

namespace quillon::ui {

void configurePanelWindow(QWidget* window, const std::function<void()>& onEscape);

// Asks VoiceOver to say `text` (a changed message line) on a Mac; nothing
// elsewhere, where the label's name-changed event is all a screen reader
// gets.
void announce(const QString& text);

}  // namespace quillon::ui
