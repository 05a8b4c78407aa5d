// The alert: buttons in the caller's order, what each way out answers, and
// the test responder.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QTimer>
#include <functional>

#include "app/ui/kit/alert.h"

namespace quillon::ui {
namespace {

QAbstractButton* alertButton(int i) {
  QWidget* alert = currentAlert();
  return alert ? alert->findChild<QAbstractButton*>(QStringLiteral("alertButton%1").arg(i))
               : nullptr;
}

// Runs the alert and, once it shows, `act` on it.
int runAnd(const AlertSpec& spec, const std::function<void()>& act) {
  QTimer::singleShot(0, act);
  return runAlert(spec);
}

void key(int k) {
  QKeyEvent press(QEvent::KeyPress, k, Qt::NoModifier);
  QCoreApplication::sendEvent(currentAlert(), &press);
}

const AlertSpec kShort{
    "Uninstall Quillon?", "Gone for good.", {"Uninstall", "Cancel"}, AlertStyle::warning, 0};
const AlertSpec kLong{
    "Use Quillon without finishing setup?", "Some text.", {"Use Quillon Anyway", "Back to Setup"}};

TEST(Alert, ShortTitlesStandSideBySideWithTheFirstOnTheRight) {
  QRect first, second;
  runAnd(kShort, [&] {
    first = alertButton(0)->geometry();
    second = alertButton(1)->geometry();
    alertButton(1)->click();
  });
  EXPECT_EQ(first.top(), second.top());
  EXPECT_GT(first.left(), second.right());
  EXPECT_EQ(first.width(), second.width());
}

TEST(Alert, LongTitlesStackWithTheFirstOnTop) {
  QRect first, second;
  QString title0;
  runAnd(kLong, [&] {
    first = alertButton(0)->geometry();
    second = alertButton(1)->geometry();
    title0 = alertButton(0)->text();
    alertButton(0)->click();
  });
  EXPECT_EQ(title0, "Use Quillon Anyway");
  EXPECT_LT(first.bottom(), second.top());
  EXPECT_EQ(first.left(), second.left());
  EXPECT_EQ(first.width(), second.width());
}

TEST(Alert, EachWayOutAnswersItsIndex) {
  struct Case {
    const char* name;
    AlertSpec spec;
    std::function<void()> act;
    int answer;
  };
  const std::vector<Case> cases = {
      {"first button", kShort, [] { alertButton(0)->click(); }, 0},
      {"second button", kLong, [] { alertButton(1)->click(); }, 1},
      {"Return presses the first", kLong, [] { key(Qt::Key_Return); }, 0},
      {"Escape presses Cancel", kShort, [] { key(Qt::Key_Escape); }, 1},
      {"closed without a button", kShort, [] { currentAlert()->close(); }, -1},
      {"Escape without Cancel does nothing", kLong,
       [] {
         key(Qt::Key_Escape);
         QTimer::singleShot(0, [] { alertButton(1)->click(); });
       },
       1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(runAnd(c.spec, c.act), c.answer) << c.name;
    EXPECT_EQ(currentAlert(), nullptr) << c.name;
  }
}

TEST(Alert, AResponderAnswersWithoutShowingAnything) {
  std::vector<AlertSpec> asked;
  setAlertResponder([&](const AlertSpec& spec) {
    asked.push_back(spec);
    return 1;
  });
  EXPECT_EQ(runAlert(kShort), 1);
  setAlertResponder({});
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0].buttons, kShort.buttons);
  EXPECT_EQ(asked[0].destructive, 0);
  EXPECT_EQ(runAnd(kShort, [] { alertButton(0)->click(); }), 0);  // shows again
}

}  // namespace
}  // namespace quillon::ui
