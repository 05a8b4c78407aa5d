// The panel on screens of every common laptop size: never taller than the
// visible frame below the menu bar, the footer always in reach, no text cut,
// and the wheel scrolling what does not fit (but zooming the graph).
#include <QApplication>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>
#include <cstdio>

#include "app/ui/controls/labeled_slider.h"
#include "app/ui/graph/equation_view.h"
#include "app/ui/graph/graph_window.h"
#include "app/ui/graph/zoomable_curve_view.h"
#include "app/ui/kit/bordered_button.h"
#include "app/ui/kit/overlay_scroll_area.h"
#include "app/ui/panel/panel_footer.h"
#include "app/ui/panel/panel_view.h"
#include "app/ui/panel/panel_window.h"
#include "app/ui/style/theme.h"
#include "cut_labels.h"
#include "panel_fixture.h"

namespace quillon::ui::test {
namespace {

using app::Mode;

struct ScreenSize {
  int width, height;
};
constexpr ScreenSize kScreens[] = {{1024, 768}, {1280, 800}, {1440, 900}};

// What the panel can show: each device in each mode, with the optional
// sections that make it taller.
struct Scene {
  Device device;
  Mode mode;
  bool winDpiShown = false;
};
constexpr Scene kScenes[] = {
    {Device::trackpad, Mode::mac},    {Device::trackpad, Mode::windows},
    {Device::trackpad, Mode::custom}, {Device::mouse, Mode::mac},
    {Device::mouse, Mode::windows},   {Device::mouse, Mode::windows, true},
    {Device::mouse, Mode::custom},
};

class PanelFitsScreen : public PanelTest {
 protected:
  // Runs what is queued, and what that queues in turn: a section's change,
  // the content's new size, the window's new frame. Never a wait on time.
  static void settle() {
    for (int i = 0; i < 10; ++i) QCoreApplication::processEvents();
  }
  // A screen of the given size, its menu bar 24 points high, the item near
  // its right edge.
  MenuBarPanel& openOn(ScreenSize s) {
    setSetupDone(true);
    MenuBarPanel& p = panel ? *panel : makePanel();
    p.close();
    item->visible = QRectF(0, 24, s.width, s.height - 24);
    item->button = QRectF(s.width - 260, 0, 26, 24);
    p.show();
    settle();
    return p;
  }
  void showScene(MenuBarPanel& p, const Scene& scene) {
    model->setDevice(scene.device);
    model->setMode(scene.mode);
    p.view()->setShowWinDpi(scene.winDpiShown);
    settle();
  }
  // A widget's frame in the panel window's coordinates.
  static QRect inWindow(const QWidget* w) { return {w->mapTo(w->window(), QPoint()), w->size()}; }
};

TEST_F(PanelFitsScreen, EveryDeviceAndModeStaysOnScreenWithItsFooterInReach) {
  double tallest = 0;
  for (const bool dark : {false, true}) {
    Appearance::instance().setDark(dark);
    for (const ScreenSize s : kScreens) {
      MenuBarPanel& p = openOn(s);
      for (const Scene& scene : kScenes) {
        SCOPED_TRACE(std::to_string(s.width) + "x" + std::to_string(s.height) + " " +
                     std::string(app::displayName(scene.device)) + " " +
                     std::string(app::modeKey(scene.mode)) +
                     (scene.winDpiShown ? " with Windows DPI" : "") + (dark ? " dark" : ""));
        showScene(p, scene);
        const QRect frame = p.window()->geometry();
        const double content = p.size().height();
        tallest = std::max(tallest, content);
        EXPECT_LE(frame.y() + frame.height(), s.height - 8) << "ends 8 points above the bottom";
        EXPECT_EQ(frame.height(), std::min(qRound(content), s.height - 8 - 27));
        EXPECT_EQ(p.view()->size(), frame.size()) << "the view fills the window";

        const QRect inside(QPoint(), frame.size());
        PanelFooter* footer = p.view()->footer();
        for (QWidget* w : {static_cast<QWidget*>(footer->setupButton()),
                           static_cast<QWidget*>(footer->uninstallButton()),
                           static_cast<QWidget*>(footer->quitButton())}) {
          EXPECT_TRUE(w->isVisible());
          EXPECT_TRUE(inside.contains(inWindow(w))) << w->objectName().toStdString();
        }
        const bool scrolls = content > frame.height();
        EXPECT_EQ(p.view()->scrollArea()->scrolls(), scrolls);
        EXPECT_EQ(p.view()->scrollArea()->knob()->isVisible(), scrolls);
        EXPECT_EQ(cutLabels(p.window()), QStringList());
      }
    }
  }
  Appearance::instance().setDark(false);
  // The tallest content today is the mouse in Custom mode.
  std::printf("tallest panel content: %.0f points\n", tallest);
  EXPECT_GT(tallest, 900 - 8 - 27) << "the largest screen tried must be too short for it";
}

TEST_F(PanelFitsScreen, TheWheelScrollsThePanelButZoomsTheGraphUnderThePointer) {
  MenuBarPanel& p = openOn({1024, 768});
  showScene(p, {Device::mouse, Mode::custom});
  QScrollBar* bar = p.view()->scrollArea()->verticalScrollBar();
  ASSERT_GT(bar->maximum(), 0);
  ASSERT_EQ(bar->value(), 0);

  const auto wheel = [](QWidget* w, int dy) {
    const QPointF at = QRectF(w->rect()).center();
    QWheelEvent e(at, w->mapToGlobal(at), QPoint(), QPoint(0, dy), Qt::NoButton, Qt::NoModifier,
                  Qt::NoScrollPhase, false);
    QApplication::sendEvent(w, &e);
    return e.isAccepted();
  };
  // A control leaves the wheel to what holds it (Qt passes such a wheel on
  // to the parent), and there the panel scrolls.
  EXPECT_FALSE(wheel(p.view()->scrollSpeedSlider(), -120));
  EXPECT_TRUE(wheel(p.view()->scrollArea()->viewport(), -120));
  EXPECT_GT(bar->value(), 0) << "elsewhere than over the graph, the wheel scrolls the panel";
  const int scrolled = bar->value();

  ZoomableCurveView* graph = p.view()->graph();
  ASSERT_NE(graph, nullptr);
  const double span = graph->window().width();
  QMouseEvent move(QEvent::MouseMove, QRectF(graph->plot()->rect()).center(),
                   graph->plot()->mapToGlobal(QRectF(graph->plot()->rect()).center()), Qt::NoButton,
                   Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(graph->plot(), &move);
  wheel(graph->plot(), 120);
  EXPECT_NE(graph->window().width(), span) << "over the graph, the wheel zooms it";
  EXPECT_EQ(bar->value(), scrolled) << "and the panel stays where it was";
}

TEST_F(PanelFitsScreen, APanelThatFitsNeitherScrollsNorShowsTheEdge) {
  MenuBarPanel& p = openOn({1440, 900});
  showScene(p, {Device::trackpad, Mode::mac});
  EXPECT_EQ(p.window()->height(), qRound(p.size().height()));
  EXPECT_FALSE(p.view()->scrollArea()->scrolls());
  EXPECT_EQ(p.view()->scrollArea()->verticalScrollBar()->maximum(), 0);
}

TEST_F(PanelFitsScreen, FocusInTheScrolledPartIsBroughtIntoView) {
  MenuBarPanel& p = openOn({1024, 768});
  showScene(p, {Device::mouse, Mode::custom});
  OverlayScrollArea* area = p.view()->scrollArea();
  const auto inView = [area](const QWidget* w) {
    return area->viewport()->rect().contains(
        QRect(w->mapTo(area->viewport(), QPoint()), w->size()));
  };
  // The lowest part of the scrolling content, made a stop of the Tab chain
  // here: what counts is that the focus, wherever it lands, is seen.
  QWidget* low = p.view()->equation();
  ASSERT_TRUE(low->isVisible());
  ASSERT_FALSE(inView(low));
  low->setFocusPolicy(Qt::TabFocus);
  low->setFocus(Qt::TabFocusReason);
  settle();
  EXPECT_TRUE(inView(low));
}

}  // namespace
}  // namespace quillon::ui::test
