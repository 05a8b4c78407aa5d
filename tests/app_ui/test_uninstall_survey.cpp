// The uninstall's windows: the survey's three answers, the confirmation,
// and closing the side windows once the uninstall has begun.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTimer>

#include "app/core/command_line.h"
#include "app/ui/feedback/uninstall_survey.h"
#include "app/ui/feedback/uninstall_windows.h"
#include "setup_fixture.h"

namespace quillon::ui::test {
namespace {

template <class T = QAbstractButton>
T* part(const QString& name) {
  return UninstallSurvey::current()->findChild<T*>(name);
}

app::SurveyOutcome askAnd(const std::function<void()>& act) {
  QTimer::singleShot(0, act);
  return UninstallSurvey::ask();
}

TEST(UninstallSurvey, EachWayOutGivesItsAnswer) {
  struct Case {
    const char* name;
    std::function<void()> act;
    std::string printed;  // as "quillon --survey" prints it
  };
  const Case cases[] = {
      {"Send and Uninstall",
       [] {
         part("reason4")->click();
         part("reason1")->click();
         part<QPlainTextEdit>("otherText")->setPlainText("  \n Too many steps.\n\n ");
         part("sendAndUninstall")->click();
       },
       "reasons: [\"It was too complicated\", \"I'm using a different app\"]\n"
       "message: Too many steps.\n"},
      {"Send with nothing", [] { part("sendAndUninstall")->click(); }, "reasons: []\nmessage: \n"},
      {"Skip drops the ticks",
       [] {
         part("reason0")->click();
         part<QPlainTextEdit>("otherText")->setPlainText("text");
         part("skip")->click();
       },
       "skipped\n"},
      {"the close button", [] { UninstallSurvey::current()->close(); }, "cancelled\n"},
      {"Escape does nothing",
       [] {
         QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
         QApplication::sendEvent(UninstallSurvey::current(), &esc);
         QTimer::singleShot(0, [] { part("skip")->click(); });
       },
       "skipped\n"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(app::surveyOutcomeText(askAnd(c.act)), c.printed) << c.name;
    EXPECT_EQ(UninstallSurvey::current(), nullptr) << c.name;
  }
}

TEST(UninstallSurvey, OffersTheSixReasonsUntickedWithNothingFocused) {
  QStringList titles;
  bool anyTicked = false;
  QWidget* focused = nullptr;
  QString title;
  askAnd([&] {
    for (int i = 0; i < 6; ++i) {
      titles << part(QString("reason%1").arg(i))->text();
      anyTicked = anyTicked || part(QString("reason%1").arg(i))->isChecked();
    }
    title = UninstallSurvey::current()->windowTitle();
    focused = QApplication::focusWidget();
    part("skip")->click();
  });
  EXPECT_EQ(titles, (QStringList{"It didn't feel right", "It was too complicated",
                                 "Something didn't work", "I only needed it for a short time",
                                 "I'm using a different app", "It costs too much"}));
  EXPECT_FALSE(anyTicked);
  EXPECT_EQ(title, "Before you go");
  EXPECT_EQ(qobject_cast<QPlainTextEdit*>(focused), nullptr);
}

using UninstallWindows = WindowTest;

TEST_F(UninstallWindows, OnlyUninstallConfirms) {
  std::vector<AlertSpec> asked;
  for (int answer : {0, 1, -1}) {
    setAlertResponder([&](const AlertSpec& s) {
      asked.push_back(s);
      return answer;
    });
    EXPECT_EQ(confirmUninstall(), answer == 0) << answer;
  }
  ASSERT_FALSE(asked.empty());
  EXPECT_EQ(asked[0].message, "Uninstall Quillon?");
  EXPECT_EQ(asked[0].informativeText,
            "Your trackpad and mouse go back to macOS's own behaviour, Quillon's settings and "
            "saved curves are deleted, and the app is moved to the Trash.");
  EXPECT_EQ(asked[0].buttons, (QStringList{"Uninstall", "Cancel"}));
  EXPECT_EQ(asked[0].destructive, 0);
}

TEST_F(UninstallWindows, ClosingTheSideWindowsOnceUninstallingSavesNothing) {
  closeSideWindows();  // none made yet, or hidden: harmless
  SetupWindow::show(*model);
  FeedbackWindow::show(env);
  env.flags.uninstalling = true;
  closeSideWindows();
  EXPECT_FALSE(SetupWindow::window()->isVisible());
  EXPECT_FALSE(FeedbackWindow::window()->isVisible());
  EXPECT_FALSE(std::filesystem::exists(paths.configFile));
  EXPECT_FALSE(mac.standard.boolValue("setupDone").has_value());
}

}  // namespace
}  // namespace quillon::ui::test
