// The side windows and the alerts as a screen reader finds them: the
// elements each must show, and every element with a role, a name, its
// value and an action.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QTimer>
#include <iostream>

#include "a11y_walk.h"
#include "app/core/installer.h"
#include "app/ui/feedback/uninstall_survey.h"
#include "app/ui/feedback/uninstall_windows.h"
#include "app/ui/installer/installer_alerts.h"
#include "setup_fixture.h"

namespace quillon::ui::test {
namespace {

using R = QAccessible::Role;

struct Wanted {
  R role;
  QString name;
};

// Checks the window against its table and prints its counts.
void checkWindow(const char* label, QWidget* window, const std::vector<Wanted>& wanted) {
  SCOPED_TRACE(label);
  ASSERT_NE(window, nullptr);
  const std::vector<A11yElement> found = interactiveElements(window);
  std::cout << "[a11y] " << label << ": " << countElements(found) << "\n";
  for (const Wanted& w : wanted) {
    const bool present = std::any_of(found.begin(), found.end(), [&](const A11yElement& e) {
      return e.role == w.role && e.name == w.name;
    });
    EXPECT_TRUE(present) << w.name.toStdString();
  }
  expectEveryElementComplete(found);
}

using WindowAccessibility = WindowTest;

TEST_F(WindowAccessibility, SetupAndFeedbackNameEveryControl) {
  SetupWindow::show(*model);
  QApplication::processEvents();
  checkWindow("setup", SetupWindow::window(),
              {{R::Button, "Done"}, {R::Button, "I've done these, but it isn't working"}});

  FeedbackWindow::show(env);
  QApplication::processEvents();
  checkWindow("feedback", FeedbackWindow::window(),
              {{R::EditableText, "Message"},
               {R::EditableText, "Email"},
               {R::Button, "Cancel"},
               {R::Button, "Send"}});
}

TEST_F(WindowAccessibility, SurveyNamesEveryReasonAndItsText) {
  QTimer::singleShot(0, [] {
    QWidget* survey = UninstallSurvey::current();
    std::vector<Wanted> wanted = {{R::EditableText, "Anything else? (optional)"},
                                  {R::Button, "Skip"},
                                  {R::Button, "Send and Uninstall"}};
    for (const char* reason : UninstallSurvey::reasons) {
      wanted.push_back({R::CheckBox, QString::fromUtf8(reason)});
    }
    checkWindow("survey", survey, wanted);
    survey->findChild<QAbstractButton*>(QStringLiteral("skip"))->click();
  });
  UninstallSurvey::ask();
}

TEST_F(WindowAccessibility, AlertsNameTheirButtons) {
  struct Case {
    const char* label;
    std::function<void()> ask;
    std::vector<Wanted> wanted;
  };
  const Case cases[] = {
      {"uninstall confirmation",
       [] { confirmUninstall(); },
       {{R::Button, "Uninstall"}, {R::Button, "Cancel"}}},
      {"installer: move offer",
       [] { InstallerAlertWindows().run(app::Installer::moveOffer()); },
       {{R::Button, "Move to Applications"}, {R::Button, "Quit"}}},
      {"installer: move failed",
       [] { InstallerAlertWindows().run(app::Installer::moveFailed("Disk full")); },
       {{R::Button, "OK"}}},
  };
  for (const Case& c : cases) {
    QTimer::singleShot(0, [&c] {
      checkWindow(c.label, currentAlert(), c.wanted);
      currentAlert()->close();
    });
    c.ask();
  }
}

}  // namespace
}  // namespace quillon::ui::test
