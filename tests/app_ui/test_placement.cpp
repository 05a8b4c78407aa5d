// Window placement in Qt's space against the same rules stated in AppKit's
// space (y up from the primary screen's bottom), and the simulated menu bar
// it places the panel under.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>

#include "app/ui/kit/placement.h"
#include "app/ui/menubar/sim_menu_bar.h"
#include "app/ui/style/symbols.h"
#include "ui_events.h"

namespace quillon::ui {
namespace {

using namespace placement;

constexpr double kPrimaryH = 900;
const QRectF kScreen(0, 0, 1440, kPrimaryH);
const QRectF kVf = visibleFrame(kScreen, 24);  // Qt: (0, 24, 1440, 876)

// The rules as AppKit states them, on AppKit rectangles.
QRectF appKitPanelFrame(const QRectF& button, const QRectF& vf, QSizeF size) {
  double x = button.left();
  if (x <= vf.left() + 8) x = vf.left() + 8;
  x = std::min(x, vf.left() + vf.width() - size.width() - 8);
  const double y = button.top() - 3;  // AppKit's top() is minY: the bottom edge
  return {x, y - size.height(), size.width(), size.height()};
}
QPointF appKitSideOrigin(const QRectF& vf, QSizeF w, bool centred, std::optional<QRectF> panel) {
  if (centred) {
    return {vf.center().x() - w.width() * 0.5,
            vf.center().y() - w.height() * 0.5 + vf.height() * 0.08};
  }
  const double edge = panel ? panel->left() : vf.left() + vf.width();
  const double x = std::max(vf.left() + 12, edge - 12 - w.width());
  const double top = vf.top() + vf.height() - 8;  // maxY
  return {x, top - w.height()};
}

TEST(Placement, AppKitAndQtRectanglesConvertBothWays) {
  const QRectF qt(10, 24, 300, 600);
  const QRectF ak = toAppKit(qt, kPrimaryH);
  EXPECT_EQ(ak, QRectF(10, 276, 300, 600));
  EXPECT_EQ(fromAppKit(ak, kPrimaryH), qt);
  EXPECT_EQ(kVf, QRectF(0, 24, 1440, 876));
  EXPECT_EQ(toAppKit(kVf, kPrimaryH), QRectF(0, 0, 1440, 876));
}

TEST(Placement, PanelBelowTheItemAtBothScreenEdges) {
  const QSizeF size(300, 600);
  struct Case {
    double buttonX;
    double expectedX;
  };
  // Near the left edge: 8 points in; near the right: pulled left.
  for (const Case& c : {Case{2, 8}, Case{8, 8}, Case{500, 500}, Case{1400, 1132}}) {
    const QRectF button(c.buttonX, 0, 26, 24);
    const QPointF tl = panelTopLeft(button, kVf, size);
    EXPECT_DOUBLE_EQ(tl.x(), c.expectedX) << c.buttonX;
    EXPECT_DOUBLE_EQ(tl.y(), 27);  // 3 points below a 24-point menu bar
    const QRectF ak = appKitPanelFrame(toAppKit(button, kPrimaryH), toAppKit(kVf, kPrimaryH), size);
    EXPECT_EQ(fromAppKit(ak, kPrimaryH), panelFrame(tl, size)) << c.buttonX;
  }
}

TEST(Placement, SideWindowsMatchTheAppKitRules) {
  const QSizeF w(480, 520);
  const QRectF panel(1132, 27, 300, 600);
  for (const bool centred : {true, false}) {
    for (const auto& p : {std::optional<QRectF>(), std::optional<QRectF>(panel)}) {
      const QPointF tl = sideWindowTopLeft(kVf, w, centred, p);
      const auto akPanel = p ? std::optional<QRectF>(toAppKit(*p, kPrimaryH)) : std::nullopt;
      const QPointF origin = appKitSideOrigin(toAppKit(kVf, kPrimaryH), w, centred, akPanel);
      EXPECT_EQ(fromAppKit(QRectF(origin, w), kPrimaryH).topLeft(), tl)
          << centred << " " << p.has_value();
    }
  }
  // Beside the open panel, 12 points away, 8 below the menu bar.
  EXPECT_EQ(sideWindowTopLeft(kVf, w, false, panel), QPointF(1132 - 12 - 480, 32));
}

TEST(Placement, OpenSideWindowsStepOutLeftKeepingTheirTop) {
  const QRectF panel(1132, 27, 300, 600);
  EXPECT_EQ(steppedOutTopLeft(panel, QRectF(1000, 200, 480, 520)), QPointF(640, 200));
  EXPECT_EQ(steppedOutTopLeft(QRectF(300, 27, 300, 600), QRectF(200, 90, 480, 520)),
            QPointF(12, 90));
}

TEST(Placement, OnlyChangesOverHalfAPointMoveThePanel) {
  const QSizeF now(300, 600);
  EXPECT_FALSE(sizeChangeMoves(now, {300, 600.4}));
  EXPECT_TRUE(sizeChangeMoves(now, {300, 600.6}));
  EXPECT_TRUE(sizeChangeMoves(now, {299.4, 600}));
  EXPECT_FALSE(sizeChangeMoves(now, {300.5, 599.5}));
  EXPECT_FALSE(sizeChangeMoves(now, {0, 700}));
  EXPECT_FALSE(sizeChangeMoves(now, {300, -1}));
}

TEST(Placement, ThePanelNeverReachesBelowTheVisibleFrame) {
  // The visible frame of each screen below its 24-point menu bar; the panel
  // opens at 27, its bottom edge at most 8 points above the frame's.
  struct Case {
    QRectF vf;
    double content;
    double shown;
  };
  const Case cases[] = {
      {{0, 24, 1440, 876}, 600, 600},  // fits
      {{0, 24, 1440, 876}, 865, 865},  // just fits
      {{0, 24, 1440, 876}, 882, 865},  // scrolls by 17
      {{0, 24, 1280, 776}, 882, 765},  //
      {{0, 24, 1024, 744}, 882, 733},  //
      {{0, 24, 1024, 744}, 0.5, 0.5},  // a size is never made larger
      {{0, 24, 800, 10}, 300, 0},      // no room at all: empty, never negative
      {QRectF(), 882, 882},            // no screen: nothing to keep inside
  };
  for (const Case& c : cases) {
    const QSizeF shown = panelSize(QPointF(8, 27), QSizeF(300, c.content), c.vf);
    EXPECT_EQ(shown, QSizeF(300, c.shown)) << c.vf.height() << " " << c.content;
  }
}

TEST(SimulatedMenuBar, ItemAtTheRightRunsItsActionAndPlacesThePanelBelow) {
  SimStatusItem item;
  SimMenuBar& bar = item.bar();
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  EXPECT_EQ(bar.geometry(), QRect(screen.x(), screen.y(), screen.width(), 24));
  item.setSymbol(QStringLiteral("hand.point.up.left"), QStringLiteral("Quillon"));
  EXPECT_TRUE(symbols::exists(QStringLiteral("hand.point.up.left")));

  int clicks = 0;
  item.setAction([&] { ++clicks; });
  const QRectF button = item.buttonFrame();
  EXPECT_EQ(button.height(), 24);
  EXPECT_GT(button.left(), screen.width() / 2);
  test::click(&bar, bar.itemRect().center());
  test::click(&bar, {10, 10});  // not the item
  EXPECT_EQ(clicks, 1);

  item.setHighlighted(true);
  EXPECT_TRUE(item.highlighted());
  item.setHighlighted(false);
  EXPECT_FALSE(item.highlighted());

  const QRectF vf = item.visibleFrame();
  EXPECT_EQ(vf, QRectF(screen).adjusted(0, 24, 0, 0));
  const QPointF tl = panelTopLeft(button, vf, {300, 600});
  EXPECT_DOUBLE_EQ(tl.y(), 27);
  EXPECT_LE(tl.x() + 300, vf.right() - 8);
}

}  // namespace
}  // namespace quillon::ui
