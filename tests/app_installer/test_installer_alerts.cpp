// The installer's two alerts as the app shows them: the installer's button
// order whatever the platform's habit, the first as the default, and the
// standard OK when the installer gives no buttons.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QTimer>
#include <functional>

#include "app/core/installer.h"
#include "app/ui/installer/installer_alerts.h"
#include "app/ui/kit/alert.h"

namespace quillon::ui {
namespace {

QStringList buttonTitles() {
  QStringList titles;
  for (int i = 0;; ++i) {
    auto* b = currentAlert()->findChild<QAbstractButton*>(QStringLiteral("alertButton%1").arg(i));
    if (!b) return titles;
    titles << b->text();
  }
}

bool showsText(const std::string& text) {
  for (const QLabel* label : currentAlert()->findChildren<QLabel*>())
    if (label->text() == QString::fromStdString(text)) return true;
  return false;
}

void press(int key) {
  QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
  QCoreApplication::sendEvent(currentAlert(), &event);
}

TEST(InstallerAlerts, ShowTheTextsAndButtonsInTheInstallersOrder) {
  struct Case {
    const char* name;
    app::InstallerAlert alert;
    QStringList titles;
    std::function<void()> act;
    int answer;
  };
  const Case cases[] = {
      {"Return moves",
       app::Installer::moveOffer(),
       {"Move to Applications", "Quit"},
       [] { press(Qt::Key_Return); },
       0},
      {"Quit",
       app::Installer::moveOffer(),
       {"Move to Applications", "Quit"},
       [] { currentAlert()->findChild<QAbstractButton*>(QStringLiteral("alertButton1"))->click(); },
       1},
      {"the failure's OK",
       app::Installer::moveFailed("Operation not permitted"),
       {"OK"},
       [] { press(Qt::Key_Return); },
       0},
  };
  InstallerAlertWindows alerts;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    QStringList titles;
    bool message = false, text = false;
    QTimer::singleShot(0, [&] {
      titles = buttonTitles();
      message = showsText(c.alert.message);
      text = showsText(c.alert.informativeText);
      c.act();
    });
    EXPECT_EQ(alerts.run(c.alert), c.answer);
    EXPECT_EQ(titles, c.titles);
    EXPECT_TRUE(message);
    EXPECT_TRUE(text);
  }
}

}  // namespace
}  // namespace quillon::ui
