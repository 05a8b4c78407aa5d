#pragma once

// The feedback window, beside the panel: made once and reused. A window that
// is open keeps what is being typed; one shown after it was closed starts
// with an empty form. Main thread only.

#include <QWidget>

#include "app/core/env.h"

namespace quillon::ui::FeedbackWindow {

inline constexpr const char* kTitle = "Send Feedback";
inline constexpr int kWidth = 420;

void show(app::Env& env);
// The window once made, null before.
QWidget* window();

}  // namespace quillon::ui::FeedbackWindow
