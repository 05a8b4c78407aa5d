#pragma once

// "Before you go": the optional survey between the uninstall's confirmation
// and the removal. Made anew for each asking, modal, and gone when it
// answers. Main thread only.

#include <QWidget>
#include <array>

#include "app/core/windows.h"

namespace quillon::ui::UninstallSurvey {

inline constexpr std::array<const char*, 6> reasons = {
    "It didn't feel right",      "It was too complicated",
    "Something didn't work",     "I only needed it for a short time",
    "I'm using a different app", "It costs too much",
};

// Waits for the user: "Send and Uninstall" answers with the ticked reasons
// (in list order) and the text without surrounding white space; "Skip"
// answers skipped; the close button cancels the uninstall.
app::SurveyOutcome ask();

// The survey's window while ask() waits, null otherwise. Its parts are
// named "reason0" ... "reason5", "otherText", "skip", "sendAndUninstall".
QWidget* current();

}  // namespace quillon::ui::UninstallSurvey
