// Every window whole: the side windows of fixed size, titled and closable
// only; no label of any window or alert cut short, in either appearance;
// the support address selectable and copyable.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QClipboard>
#include <QFontInfo>
#include <QGuiApplication>
#include <QLayout>
#include <QMenu>
#include <QPlainTextEdit>
#include <QStyleOption>
#include <QTest>
#include <QTimer>
#include <QToolTip>

#include "app/core/feedback.h"
#include "app/core/installer.h"
#include "app/ui/feedback/feedback_view.h"
#include "app/ui/feedback/uninstall_survey.h"
#include "app/ui/feedback/uninstall_windows.h"
#include "app/ui/installer/installer_alerts.h"
#include "app/ui/style/fonts.h"
#include "app/ui/style/theme.h"
#include "cut_labels.h"
#include "local_http_server.h"
#include "setup_fixture.h"

namespace quillon::ui::test {
namespace {

using app::test::LocalHttpServer;
using app::test::spinUntil;
using platform::ServiceStatus;

// Lets posted layout requests, and those they post in turn, run.
void settle() {
  for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
}

// Runs a modal window; once it shows, `look` at it, then close it with the
// button named `answer` (or its close button).
void whileShown(const std::function<void()>& run, const std::function<QWidget*()>& current,
                const std::function<void(QWidget*)>& look, const char* answer) {
  bool looked = false;
  QTimer::singleShot(0, [&] {
    QWidget* w = current();
    if (!w) return;
    settle();
    look(w);
    looked = true;
    if (auto* b = w->findChild<QAbstractButton*>(QLatin1String(answer))) {
      b->click();
    } else {
      w->close();
    }
  });
  run();
  EXPECT_TRUE(looked) << "the window never showed";
}

// The window's own look: fixed size, title and close button only.
void expectFixedTitledClosable(const QWidget* w) {
  ASSERT_NE(w->layout(), nullptr);
  EXPECT_EQ(w->layout()->sizeConstraint(), QLayout::SetFixedSize);
  EXPECT_EQ(w->minimumSize(), w->maximumSize()) << "neither the user nor the layout resizes it";
  EXPECT_EQ(w->size(), w->minimumSize());
  const Qt::WindowFlags f = w->windowFlags();
  EXPECT_TRUE(f.testFlag(Qt::CustomizeWindowHint));
  EXPECT_TRUE(f.testFlag(Qt::WindowTitleHint));
  EXPECT_TRUE(f.testFlag(Qt::WindowCloseButtonHint));
  EXPECT_FALSE(f.testFlag(Qt::WindowMinimizeButtonHint));
  EXPECT_FALSE(f.testFlag(Qt::WindowMaximizeButtonHint));
}

class WholeWindows : public WindowTest {
 protected:
  ~WholeWindows() override {
    Appearance::instance().setDark(false);
    app::Feedback::setUrlForTests("");
  }
  SetupView* setupView() { return SetupWindow::window()->findChild<SetupView*>(); }
};

TEST_F(WholeWindows, SideWindowsAreOfFixedSizeTitledAndClosableOnly) {
  SetupWindow::show(*model);
  settle();
  expectFixedTitledClosable(SetupWindow::window());
  FeedbackWindow::show(env);
  settle();
  expectFixedTitledClosable(FeedbackWindow::window());
  whileShown([] { (void)UninstallSurvey::ask(); }, UninstallSurvey::current,
             expectFixedTitledClosable, "skip");
}

TEST_F(WholeWindows, TheSetupWindowFollowsItsContentAsStepsTick) {
  mac.agent.status_ = ServiceStatus::enabled;
  helperReports(false, false);
  SetupWindow::show(*model);
  settle();
  helperReports(true, true);
  mac.prefs["CGDisableCursorLocationMagnification"] = true;
  setupView()->update();
  settle();
  QWidget* w = SetupWindow::window();
  EXPECT_EQ(w->height(), w->heightForWidth(w->width()));
  EXPECT_EQ(cutLabels(w), QStringList());
}

TEST_F(WholeWindows, NoLabelOfAnyWindowIsCutInEitherAppearance) {
  LocalHttpServer broken(500);
  for (const bool dark : {false, true}) {
    SCOPED_TRACE(dark ? "dark" : "light");
    Appearance::instance().setDark(dark);

    // The setup window in each of its states.
    struct SetupState {
      const char* name;
      std::function<void()> machine;
    };
    const SetupState states[] = {
        {"needs approval", [&] { mac.agent.status_ = ServiceStatus::requiresApproval; }},
        {"starting",
         [&] {
           mac.agent.status_ = ServiceStatus::enabled;
           std::filesystem::remove(paths.statusFile);
         }},
        {"asks for accessibility", [&] { helperReports(false, false); }},
        {"checking input monitoring", [&] { helperReports(true, false); }},
        {"all done",
         [&] {
           helperReports(true, true);
           mac.prefs["CGDisableCursorLocationMagnification"] = true;
         }},
    };
    SetupWindow::show(*model);
    for (const SetupState& s : states) {
      s.machine();
      setupView()->update();
      settle();
      EXPECT_EQ(cutLabels(SetupWindow::window()), QStringList()) << s.name;
    }

    // The feedback form, empty and after a failed send (the address shows).
    FeedbackWindow::show(env);
    settle();
    EXPECT_EQ(cutLabels(FeedbackWindow::window()), QStringList()) << "feedback";
    auto* form = FeedbackWindow::window()->findChild<FeedbackView*>();
    ASSERT_TRUE(app::Feedback::setUrlForTests(broken.url()));
    form->messageEdit()->setPlainText(QStringLiteral("Hello"));
    form->send();
    ASSERT_TRUE(spinUntil([&] { return form->state() != FeedbackView::State::sending; }, 60000));
    settle();
    EXPECT_TRUE(form->failedLabel()->isVisible());
    EXPECT_EQ(cutLabels(FeedbackWindow::window()), QStringList()) << "feedback failed";
    FeedbackWindow::window()->close();

    // Nothing cut, and the window itself as tall as its content at its
    // width: a window system may keep a window at the size it asks for.
    const auto none = [](QWidget* w) {
      EXPECT_EQ(cutLabels(w), QStringList()) << w->windowTitle().toStdString();
      EXPECT_GE(w->height(), w->heightForWidth(w->width())) << w->windowTitle().toStdString();
      EXPECT_EQ(w->minimumHeight(), w->maximumHeight()) << w->windowTitle().toStdString();
    };
    whileShown([] { (void)UninstallSurvey::ask(); }, UninstallSurvey::current, none, "skip");

    // Every alert the app shows, and one with more text than any of them.
    InstallerAlertWindows installer;
    const std::function<void()> alerts[] = {
        [] { (void)confirmUninstall(); },
        [this] { setupView()->useAnyway(); },
        [&installer] { (void)installer.run(app::Installer::moveOffer()); },
        [&installer] {
          (void)installer.run(app::Installer::moveFailed(
              "The file “Quillon” couldn’t be copied because there isn’t enough space."));
        },
        [] {
          (void)runAlert({QStringLiteral("A message long enough to need a second line of its own"),
                          QStringLiteral("A first paragraph that runs over several lines at the "
                                         "alert's width.\n\nA second one.\n\nAnd a third, with "
                                         "an address: someone@example.com."),
                          {QStringLiteral("OK")}});
        },
    };
    for (const auto& alert : alerts) whileShown(alert, currentAlert, none, "alertButton1");
  }
}

TEST_F(WholeWindows, TheSupportAddressCanBeSelectedAndCopied) {
  FeedbackWindow::show(env);
  settle();
  QLabel* failed = FeedbackWindow::window()->findChild<FeedbackView*>()->failedLabel();
  const Qt::TextInteractionFlags flags = failed->textInteractionFlags();
  EXPECT_TRUE(flags.testFlag(Qt::TextSelectableByMouse));
  EXPECT_TRUE(flags.testFlag(Qt::TextSelectableByKeyboard));
  EXPECT_EQ(failed->focusPolicy(), Qt::TabFocus) << "reached with Tab, never by a click";

  const QString address = QString::fromUtf8(app::Feedback::supportEmail);
  const int at = static_cast<int>(failed->text().indexOf(address));
  ASSERT_GE(at, 0);
  failed->setSelection(at, static_cast<int>(address.size()));
  EXPECT_EQ(failed->selectedText(), address);
  QGuiApplication::clipboard()->clear();
  failed->show();
  failed->setFocus();
  QTest::keyClick(failed, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), address);
}

#ifndef __APPLE__
TEST(Popups, HelpTextsWrapAndHelpTextsAndMenusAreRounded) {
  const QString help = QStringLiteral(
      "Restarts Quillon with both devices back to their defaults. Saved curves and Mouse DPI "
      "are kept.");
  QToolTip::showText(QPoint(40, 40), help);
  settle();
  QWidget* tip = nullptr;
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (w->inherits("QTipLabel") && w->isVisible()) tip = w;
  }
  ASSERT_NE(tip, nullptr);
  auto* label = qobject_cast<QLabel*>(tip);
  ASSERT_NE(label, nullptr);
  EXPECT_TRUE(label->wordWrap()) << "a plain text longer than a line wraps";
  EXPECT_LE(tip->width(), 300);
  EXPECT_GE(tip->height(), tip->heightForWidth(tip->width()));
  QToolTip::hideText();

  // The shape the style gives each: its corners cut, its middle whole.
  QMenu menu;
  for (const QStyle::StyleHint hint : {QStyle::SH_ToolTip_Mask, QStyle::SH_Menu_Mask}) {
    QStyleOption option;
    option.initFrom(&menu);
    option.rect = QRect(0, 0, 200, 80);
    QStyleHintReturnMask mask;
    ASSERT_TRUE(menu.style()->styleHint(hint, &option, &menu, &mask)) << hint;
    EXPECT_FALSE(mask.region.contains(QPoint(0, 0))) << hint;
    EXPECT_FALSE(mask.region.contains(QPoint(199, 79))) << hint;
    EXPECT_TRUE(mask.region.contains(QPoint(100, 40))) << hint;
    EXPECT_TRUE(mask.region.contains(QPoint(100, 0))) << hint;
  }
}

TEST(Popups, ShortcutGlyphsUseAFontWhoseZeroIsPlain) {
  // Present on the machine, not a fallback: the monospaced DejaVu's dotted
  // zero read as θ at this size.
  const QFont keys = fonts::keys(fonts::kCaption);
  EXPECT_EQ(QFontInfo(keys).family(), QStringLiteral("DejaVu Sans"));
  EXPECT_TRUE(QFontMetrics(keys).inFont(QChar(0x2318))) << "⌘";
  EXPECT_TRUE(QFontMetrics(keys).inFont(QChar(0x2325))) << "⌥";
}
#endif

}  // namespace
}  // namespace quillon::ui::test
