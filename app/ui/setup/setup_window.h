#pragma once

// The setup window: walks a new user through what the helper needs before
// it can work, and remembers ("setupDone") once the user is through with
// it. Made once, beside the panel's other side windows, and reused; each
// showing while hidden gets fresh content. Main thread only.

#include <QWidget>

namespace quillon::app {
class Model;
struct Env;
}  // namespace quillon::app

namespace quillon::ui::SetupWindow {

inline constexpr const char* kTitle = "Set up Quillon";
inline constexpr int kWidth = 440;

// Keeps the helper while setup runs, starts it when the agent is neither
// enabled nor waiting for approval, and shows the window floating and
// centred. `model` is the app's one model: finishing setup saves it.
void show(app::Model& model);
// "Done", "Use Quillon Anyway": the window closes and setup counts as
// finished.
void complete();
// Run when the window closes, by any way: marks setup finished when it was
// completed, lets the helper go and saves. Nothing while uninstalling.
void finish();
// The normal window level, so that System Settings can come in front.
void stepBack();
// Back from System Settings (quitting it first when asked): the window
// floats again, centred, if it is open.
void comeBack(bool closingSettings);
// The "setupDone" user default.
bool isFinished(app::Env& env);

// The window once made (null before the first show), and whether it floats
// above other windows now.
QWidget* window();
bool floating();

}  // namespace quillon::ui::SetupWindow
