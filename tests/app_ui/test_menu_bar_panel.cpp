// The menu bar panel's window: where it opens, how it follows its content's
// size, what closes it, the side windows it pushes aside and brings back,
// and the device of the opening click.
#include <QTest>

#include "app/ui/kit/link_button.h"
#include "app/ui/kit/segmented_control.h"
#include "app/ui/panel/panel_mode_section.h"
#include "app/ui/panel/panel_view.h"
#include "app/ui/panel/panel_window.h"
#include "app/ui/panel/side_window.h"
#include "panel_fixture.h"

namespace quillon::ui::test {
namespace {

class MenuBarPanelTest : public PanelTest {
 protected:
  MenuBarPanel& openPanel() {
    setSetupDone(true);
    MenuBarPanel& p = makePanel();
    p.show();
    spin();
    return p;
  }
};

TEST_F(MenuBarPanelTest, OpensThreePointsBelowTheItemKeptEightPointsInsideBothScreenEdges) {
  setSetupDone(true);
  MenuBarPanel& p = makePanel();
  EXPECT_EQ(item->symbol, QStringLiteral("hand.point.up.left"));
  const QSize size = p.size().toSize();
  ASSERT_EQ(size.width(), PanelView::kWidth);
  struct Case {
    double buttonX;
    int panelX;
  };
  const int rightmost = 1440 - size.width() - 8;
  for (const Case& c : {Case{2, 8}, Case{8, 8}, Case{700, 700}, Case{1400, rightmost}}) {
    SCOPED_TRACE(c.buttonX);
    item->button = QRectF(c.buttonX, 0, 26, 24);
    item->click();
    ASSERT_TRUE(p.isOpen());
    // The menu bar is 24 points high: the panel's top edge is at 27.
    EXPECT_EQ(p.window()->geometry(), QRect(QPoint(c.panelX, 27), size));
    EXPECT_TRUE(item->lit);
    item->click();
    EXPECT_FALSE(p.isOpen());
    EXPECT_FALSE(item->lit);
  }
}

TEST_F(MenuBarPanelTest, BeforeSetupWasFinishedTheItemOpensSetupInstead) {
  setSetupDone(false);
  MenuBarPanel& p = makePanel();
  item->click();
  EXPECT_FALSE(p.isOpen());
  EXPECT_EQ(actions, std::vector<std::string>{"setup"});
}

TEST_F(MenuBarPanelTest, ContentSizeMovesTheWindowOnlyBeyondHalfAPointAndGrowsDownward) {
  MenuBarPanel& p = openPanel();
  const QRect before = p.window()->geometry();
  const QSizeF size = p.size();
  ASSERT_EQ(QSizeF(before.size()), size);

  p.contentSize(size + QSizeF(0, 0.4));
  p.contentSize(size + QSizeF(0.4, 0));
  p.contentSize(QSizeF(0, 500));  // empty: ignored
  spin();
  EXPECT_EQ(p.size(), size);
  EXPECT_EQ(p.window()->geometry(), before);

  p.contentSize(size + QSizeF(0, 0.6));
  EXPECT_EQ(p.window()->geometry(), before) << "resized on the next turn, not at once";
  spin();
  EXPECT_EQ(p.size(), size + QSizeF(0, 0.6));
  EXPECT_EQ(p.window()->geometry().topLeft(), before.topLeft());
  EXPECT_EQ(p.window()->geometry().height(), before.height() + 1);

  for (const double dh : {80.0, -120.0}) {
    p.contentSize(QSizeF(size.width(), p.size().height() + dh));
    spin();
    EXPECT_EQ(p.window()->geometry().topLeft(), before.topLeft());
    EXPECT_EQ(p.window()->geometry().height(), qRound(p.size().height()));
  }
}

TEST_F(MenuBarPanelTest, TheWindowFollowsItsContentAsSectionsComeAndGo) {
  makeModel();
  model->setDevice(Device::mouse);
  model->cfg().mode = "windows";
  MenuBarPanel& p = openPanel();
  const QRect before = p.window()->geometry();
  ASSERT_NE(p.view()->modeSection()->differentDpiLink(), nullptr);
  p.view()->modeSection()->differentDpiLink()->click();
  spin(50);
  const QRect after = p.window()->geometry();
  EXPECT_EQ(after.topLeft(), before.topLeft());
  EXPECT_GT(after.height(), before.height());
  EXPECT_EQ(QSizeF(after.size()), p.view()->contentSize());
  EXPECT_EQ(p.view()->size(), after.size()) << "the view fills the window";
}

TEST_F(MenuBarPanelTest, EscapeOutsideClickResignActiveAndTheItemCloseIt) {
  struct Cause {
    const char* name;
    std::function<void(MenuBarPanelTest&)> act;
  };
  const Cause causes[] = {
      {"Escape", [](MenuBarPanelTest& t) { QTest::keyClick(t.panel->window(), Qt::Key_Escape); }},
      {"click in another app", [](MenuBarPanelTest& t) { EXPECT_EQ(t.mac.globalMouseDown(), 1); }},
      {"another app active",
       [](MenuBarPanelTest&) { emit qGuiApp->applicationStateChanged(Qt::ApplicationInactive); }},
      {"the item", [](MenuBarPanelTest& t) { t.item->click(); }},
  };
  MenuBarPanel& p = openPanel();
  for (const Cause& c : causes) {
    SCOPED_TRACE(c.name);
    p.show();
    spin();
    ASSERT_TRUE(p.isOpen());
    ASSERT_TRUE(item->lit);
    ASSERT_TRUE(p.monitoringOutsideClicks());
    c.act(*this);
    spin();
    EXPECT_FALSE(p.isOpen());
    EXPECT_FALSE(item->lit);
    EXPECT_FALSE(p.monitoringOutsideClicks());
    EXPECT_EQ(mac.globalMouseDown(), 0) << "the monitor lives only while the panel is open";
    spin();
  }
  p.close();  // closing a closed panel is harmless
  EXPECT_FALSE(p.isOpen());
}

TEST_F(MenuBarPanelTest, OpeningActivatesTheAppAndReadsTheSettingsAgainOnTheNextTurn) {
  MenuBarPanel& p = openPanel();
  p.close();
  actions.clear();
  writeConfig(R"({"trackpad":{"mode":"custom","speed":12,"accel":0.5,"winSpeed":5,"scale":1,)"
              R"("natural":true,"scrollSpeed":2.0},"mouse":{"mode":"mac","speed":30,"accel":0.8,)"
              R"("winSpeed":10,"scale":1,"natural":false}})");
  p.show();
  EXPECT_EQ(actions, std::vector<std::string>{"activate"});
  EXPECT_EQ(model->config().trackpad.scrollSpeed, std::nullopt) << "not inside the click";
  spin();
  EXPECT_EQ(model->config().trackpad.scrollSpeed, 2.0);
  EXPECT_EQ(p.view()->modePicker()->currentIndex(), 2);
}

TEST_F(MenuBarPanelTest, OpenSideWindowsStepOutToTheLeftOfThePanel) {
  setSetupDone(true);
  MenuBarPanel& p = makePanel();
  item->button = QRectF(1000, 0, 26, 24);
  QWidget* setup = SideWindow::make(QStringLiteral("Setup"), 400, SideWindow::Role::setup);
  QWidget* feedback =
      SideWindow::make(QStringLiteral("Send Feedback"), 1100, SideWindow::Role::feedback);
  setup->move(900, 120);    // over the panel's left part
  feedback->move(300, 60);  // so wide it would pass the screen's left edge
  for (QWidget* w : {setup, feedback}) w->show();
  const QPoint away(100, 700);
  QWidget* clear = SideWindow::make(QStringLiteral("Setup"), 200, SideWindow::Role::setup);
  clear->move(away);  // below and left of the panel: stays
  clear->show();
  spin();

  p.show();
  // Widths as AppKit counts them: the window's frame.
  EXPECT_EQ(setup->pos(), QPoint(1000 - 12 - setup->frameGeometry().width(), 120));
  EXPECT_EQ(feedback->pos(), QPoint(12, 60));
  EXPECT_EQ(clear->pos(), away);
  for (QWidget* w : {setup, feedback, clear}) delete w;
}

TEST_F(MenuBarPanelTest, ClosingTheLastSideWindowBringsThePanelBackUnlessPreviewOnly) {
  for (const bool previewOnly : {false, true}) {
    SCOPED_TRACE(previewOnly);
    MenuBarPanel& p = openPanel();
    p.close();
    env.flags.previewOnly = previewOnly;
    QWidget* setup = SideWindow::make(QStringLiteral("Setup"), 300, SideWindow::Role::setup);
    setup->show();
    spin();
    setup->close();
    spin(150);
    EXPECT_FALSE(p.isOpen()) << "not before 0.3 s";
    spin(250);
    EXPECT_EQ(p.isOpen(), !previewOnly);
    delete setup;
    panel.reset();
    env.flags.previewOnly = false;
  }
}

TEST_F(MenuBarPanelTest, TheOpeningClickPicksTheDeviceWithoutSaving) {
  setSetupDone(true);
  MenuBarPanel& p = makePanel();
  mac.setStatusItemClickHandler([this] { item->click(); });
  struct Click {
    int subtype;
    Device device;
    const char* message;
  };
  for (const Click& c : {Click{0, Device::mouse, "Mouse: macOS curve at 0.69"},
                         Click{3, Device::trackpad, "Trackpad: macOS curve at 0.69"}}) {
    ASSERT_TRUE(mac.clickStatusItem(1, c.subtype));
    spin();
    ASSERT_TRUE(p.isOpen());
    EXPECT_EQ(model->device(), c.device);
    EXPECT_EQ(model->message(), c.message);
    EXPECT_EQ(p.view()->devicePicker()->currentIndex(), c.device == Device::mouse ? 1 : 0);
    EXPECT_EQ(model->previewDevice(), c.device);
    p.close();
  }
  spin(400);
  EXPECT_FALSE(configExists()) << "choosing a device is no edit";
}

}  // namespace
}  // namespace quillon::ui::test
