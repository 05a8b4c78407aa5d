// The graph's view window through its widgets: zoom buttons and limits,
// Reset, dragging the plot, pinching, scroll-zoom under the pointer, the
// position bar.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QNativeGestureEvent>
#include <QPointingDevice>
#include <QTest>
#include <QToolTip>
#include <cmath>

#include "app/ui/graph/zoomable_curve_view.h"
#include "app/ui/kit/borderless_button.h"
#include "app/ui/kit/scroll_bar.h"
#include "ui_events.h"

namespace quillon::ui {
namespace {

// A panel that counts the scroll events reaching it.
class Panel : public QWidget {
 public:
  int wheels = 0;
  QPoint lastPixels, lastAngle;

 protected:
  void wheelEvent(QWheelEvent* e) override {
    ++wheels;
    lastPixels = e->pixelDelta();
    lastAngle = e->angleDelta();
    e->accept();
  }
};

// A trackpad graph, 312 points wide: the plot's inner width is 300.
struct GraphFixture : ::testing::Test {
  Panel panel;
  ZoomableCurveView* graph = new ZoomableCurveView(400, 200, &panel);
  bool naturalTrackpad = true;
  bool naturalMouse = true;
  std::vector<Device> asked;

  void SetUp() override {
    graph->setGeometry(0, 0, 312, 120);
    graph->setNaturalScrolling([this](Device d) {
      asked.push_back(d);
      return d == Device::trackpad ? naturalTrackpad : naturalMouse;
    });
    panel.resize(312, 200);
    panel.show();
  }
  double lo() const { return graph->window().lo(); }
  double width() const { return graph->window().width(); }
  void clickButton(BorderlessButton* b) { test::click(b, {4, 4}); }
  QWidget* plot() const { return graph->plot(); }
};

TEST_F(GraphFixture, ZoomButtonsStopAtTheirLimits) {
  EXPECT_EQ(lo(), 0);
  EXPECT_EQ(width(), 200);
  clickButton(graph->zoomOutButton());
  EXPECT_DOUBLE_EQ(width(), 300);
  EXPECT_DOUBLE_EQ(lo(), 0);  // 100 − 150, raised to 0
  EXPECT_FALSE(graph->scrollBar()->faded());
  clickButton(graph->zoomOutButton());
  EXPECT_DOUBLE_EQ(width(), 400);
  EXPECT_FALSE(graph->zoomOutButton()->isEnabled());
  EXPECT_TRUE(graph->scrollBar()->faded());
  clickButton(graph->zoomOutButton());  // disabled: nothing
  EXPECT_DOUBLE_EQ(width(), 400);

  graph->set(100, 30);
  clickButton(graph->zoomInButton());
  EXPECT_DOUBLE_EQ(width(), 20);
  EXPECT_DOUBLE_EQ(lo(), 105);  // around the centre
  EXPECT_FALSE(graph->zoomInButton()->isEnabled());
  graph->set(100, 25);
  EXPECT_TRUE(graph->zoomInButton()->isEnabled());
  clickButton(graph->zoomInButton());
  EXPECT_DOUBLE_EQ(width(), 20);  // 16.7 raised to the smallest span
}

TEST_F(GraphFixture, DraggingThePlotMovesTheWindowAndResetReturns) {
  // 100 points to the left: 200 × 100 / 300 mm/s to the right.
  test::drag(plot(), {200, 45}, {100, 45});
  EXPECT_NEAR(lo(), 200.0 * 100 / 300, 1e-9);
  // Much further: the right end stops at the full range.
  test::drag(plot(), {300, 45}, {-400, 45});
  EXPECT_DOUBLE_EQ(lo(), 200);
  // Dragging right shows lower speeds, down to 0.
  test::drag(plot(), {0, 45}, {600, 45});
  EXPECT_DOUBLE_EQ(lo(), 0);
  // Under 2 points is a click, not a drag.
  graph->set(50, 100);
  test::drag(plot(), {100, 45}, {101.5, 45});
  EXPECT_DOUBLE_EQ(lo(), 50);

  clickButton(graph->zoomInButton());
  clickButton(graph->resetButton());
  EXPECT_DOUBLE_EQ(lo(), 0);
  EXPECT_DOUBLE_EQ(width(), 200);
  EXPECT_EQ(graph->plot()->scene().xMax, 200);
}

TEST_F(GraphFixture, NativePinchAccumulatesItsStepsPastAThreshold) {
  const auto* device = QPointingDevice::primaryPointingDevice();
  const auto gesture = [&](Qt::NativeGestureType type, double value) {
    QNativeGestureEvent e(type, device, 2, {150, 45}, {150, 45},
                          plot()->mapToGlobal(QPoint(150, 45)), value, {}, 0);
    QApplication::sendEvent(plot(), &e);
  };
  gesture(Qt::BeginNativeGesture, 0);
  gesture(Qt::ZoomNativeGesture, 0.005);  // magnification 1.005: too small to start
  EXPECT_DOUBLE_EQ(width(), 200);
  gesture(Qt::ZoomNativeGesture, 0.495);  // 1.5
  EXPECT_NEAR(width(), 200 / 1.5, 1e-9);
  gesture(Qt::ZoomNativeGesture, 0.5);  // 2.0, still from the width at the start
  EXPECT_NEAR(width(), 100, 1e-9);
  EXPECT_NEAR(lo(), 50, 1e-9);  // around the centre of the window
  gesture(Qt::EndNativeGesture, 0);
  // A new pinch starts from the new width.
  gesture(Qt::BeginNativeGesture, 0);
  gesture(Qt::ZoomNativeGesture, -0.5);  // 0.5: twice as wide
  EXPECT_NEAR(width(), 200, 1e-9);
  gesture(Qt::ZoomNativeGesture, -0.45);  // 0.05: clamped to the full range
  EXPECT_DOUBLE_EQ(width(), 400);
  gesture(Qt::EndNativeGesture, 0);
  // Pinched in past a magnification of 0: the widest view, not a sudden
  // jump to the narrowest (a negative width clamped from below).
  graph->set(0, 200);
  gesture(Qt::BeginNativeGesture, 0);
  gesture(Qt::ZoomNativeGesture, -1.2);
  EXPECT_DOUBLE_EQ(width(), 400);
  gesture(Qt::EndNativeGesture, 0);
}

TEST_F(GraphFixture, TwoFingerPinchGestureZooms) {
  QPointingDevice* touch = QTest::createTouchDevice();
  QWidget* w = plot();
  // Qt's pinch counts from the first movement of both fingers: 60 points
  // apart, then spread to 120: a magnification of 2.
  QTest::touchEvent(w, touch).press(0, {130, 45}, w).press(1, {170, 45}, w);
  QTest::touchEvent(w, touch).move(0, {120, 45}, w).move(1, {180, 45}, w);
  QTest::touchEvent(w, touch).move(0, {100, 45}, w).move(1, {200, 45}, w);
  QTest::touchEvent(w, touch).move(0, {90, 45}, w).move(1, {210, 45}, w);
  QTest::touchEvent(w, touch).release(0, {90, 45}, w).release(1, {210, 45}, w);
  QCoreApplication::processEvents();
  EXPECT_NEAR(width(), 100, 0.5);
  EXPECT_NEAR(lo() + width() / 2, 100, 0.5);  // around the window's centre
}

TEST_F(GraphFixture, ScrollZoomsOnlyUnderThePointerAndTakesTheEvent) {
  // The pointer elsewhere: the panel gets the scroll unchanged.
  EXPECT_TRUE(test::wheel(&panel, {20, 150}, {}, {0, 120}));
  EXPECT_EQ(panel.wheels, 1);
  EXPECT_DOUBLE_EQ(width(), 200);

  test::hover(plot(), {156, 45});  // (156 − 6) / 300 = 0.5
  ASSERT_TRUE(graph->hoverFraction());
  EXPECT_DOUBLE_EQ(*graph->hoverFraction(), 0.5);

  // One wheel notch, natural scrolling on for the mouse: e^0.12 wider.
  test::wheel(plot(), {156, 45}, {}, {0, 120});
  EXPECT_NEAR(width(), 200 * std::exp(0.12), 1e-9);
  naturalMouse = false;
  test::wheel(plot(), {156, 45}, {}, {0, 120});
  EXPECT_NEAR(width(), 200, 1e-9);

  // A trackpad's precise delta, with the trackpad's setting.
  asked.clear();
  naturalTrackpad = true;
  test::wheel(plot(), {156, 45}, {0, -10}, {0, -120});
  EXPECT_NEAR(width(), 200 * std::exp(-0.1), 1e-9);
  EXPECT_EQ(asked, std::vector<Device>{Device::trackpad});

  // d = 0 is still taken from the panel.
  const double before = width();
  EXPECT_TRUE(test::wheel(plot(), {156, 45}, {}, {0, 0}));
  EXPECT_DOUBLE_EQ(width(), before);
  EXPECT_EQ(panel.wheels, 1);

  // The anchor stays put: the speed under the pointer does not move.
  graph->set(100, 200);
  test::hover(plot(), {66, 45});  // fraction 0.2: 140 mm/s
  test::wheel(plot(), {66, 45}, {}, {0, -240});
  EXPECT_NEAR(width(), 200 * std::exp(0.24), 1e-9);
  EXPECT_NEAR(lo() + 0.2 * width(), 140, 1e-9);

  // The pointer leaves: scrolls reach the panel again, unchanged.
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(plot(), &leave);
  EXPECT_FALSE(graph->hoverFraction());
  test::wheel(&panel, {20, 150}, {0, 7}, {0, 90});
  EXPECT_EQ(panel.wheels, 2);
  EXPECT_EQ(panel.lastPixels, QPoint(0, 7));
  EXPECT_EQ(panel.lastAngle, QPoint(0, 90));
}

TEST_F(GraphFixture, TheScrollMonitorLivesWhileTheGraphIsOnScreen) {
  EXPECT_TRUE(graph->scrollMonitorInstalled());
  panel.hide();
  EXPECT_FALSE(graph->scrollMonitorInstalled());
  panel.show();
  EXPECT_TRUE(graph->scrollMonitorInstalled());
}

TEST_F(GraphFixture, ScrollBarThumbFollowsTheWindowAndDragsIt) {
  ScrollBar* bar = graph->scrollBar();
  const double w = bar->width();
  ASSERT_GT(w, 100);
  EXPECT_DOUBLE_EQ(bar->thumbWidth(), w * 200 / 400);
  graph->set(100, 200);
  const double tr = w - bar->thumbWidth();
  EXPECT_NEAR(bar->thumbX(), tr * 100 / 200, 1e-9);

  // Dragging the thumb by half its travel moves half of full − span.
  const double grab = bar->thumbX() + 10;
  test::drag(bar, {grab, 6}, {grab - tr / 2, 6});
  EXPECT_NEAR(lo(), 0, 1e-9);
  // A press beside the thumb centres it on the pointer.
  test::click(bar, {w - bar->thumbWidth() / 2, 6});
  EXPECT_NEAR(lo(), 200, 1e-9);

  // Never narrower than 16 points.
  graph->set(0, 20);
  EXPECT_DOUBLE_EQ(bar->thumbWidth(), std::max(16.0, w * 20 / 400));

  QAccessibleInterface* a = QAccessible::queryAccessibleInterface(bar);
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a->text(QAccessible::Name), QStringLiteral("Graph position"));
  graph->set(100, 40);
  a->actionInterface()->doAction(QAccessibleActionInterface::increaseAction());
  EXPECT_DOUBLE_EQ(lo(), 110);
}

// Within antialiasing's rounding of a colour.
bool near(const QColor& a, const QColor& b) {
  return std::abs(a.red() - b.red()) <= 8 && std::abs(a.green() - b.green()) <= 8 &&
         std::abs(a.blue() - b.blue()) <= 8;
}

// A straight custom curve from 0 at 0 mm/s to top at 400 mm/s.
Curves risingTo(double top) {
  CurvePoints pts;
  for (int x = 0; x <= 400; x += 10) pts.emplace_back(x, top * x / 400);
  return {{CurveMode::custom, pts}};
}

TEST_F(GraphFixture, TheHeldScaleKeepsTheCurveMovingAgainstTheGrid) {
  graph->setCurves(risingTo(20), CurveMode::custom);  // 10 at the window's right end
  CurveView* view = graph->plot();
  EXPECT_DOUBLE_EQ(view->normalScale(), 10);
  graph->holdScale();
  graph->setCurves(risingTo(34), CurveMode::custom);  // 17 at the right end
  EXPECT_DOUBLE_EQ(view->normalScale(), 17);
  EXPECT_EQ(view->scene().heldScale, 10.0);

  // Drawn against the held scale: at 100 mm/s (8.5) the line is 85 % up,
  // and above the plot's top nothing of it shows.
  const QImage img = view->grab().toImage();
  const PlotArea a = PlotArea::of(view->size());
  const QColor line = curveLineColor(CurveMode::custom);
  const double x = a.left + a.width / 2;
  const double y = a.top + a.height - 8.5 * a.height / 10;
  EXPECT_TRUE(near(img.pixelColor(static_cast<int>(x), static_cast<int>(y)), line));
  for (int row = PlotArea::kLegendRow; row < static_cast<int>(a.top) - 2; ++row) {
    for (int col = static_cast<int>(a.left); col < static_cast<int>(a.left + a.width); ++col) {
      ASSERT_FALSE(near(img.pixelColor(col, row), line)) << col << "," << row;
    }
  }

  // A second hold keeps the first; the end of the drag brings the normal
  // scale back.
  graph->holdScale();
  EXPECT_EQ(view->scene().heldScale, 10.0);
  graph->releaseScale();
  EXPECT_FALSE(graph->scaleHeld());
  const QImage normal = view->grab().toImage();
  const double yNormal = a.top + a.height - 8.5 * a.height / 17;
  EXPECT_TRUE(near(normal.pixelColor(static_cast<int>(x), static_cast<int>(yNormal)), line));
}

TEST_F(GraphFixture, TheHelpShowsOverTheLegendButNeverOverTheReadout) {
  graph->setCurves(risingTo(20), CurveMode::custom);
  const auto askForHelp = [this](QPoint at) {
    test::hover(plot(), at);
    QHelpEvent help(QEvent::ToolTip, at, plot()->mapToGlobal(at));
    QApplication::sendEvent(plot(), &help);
  };
  askForHelp({156, 60});
  EXPECT_TRUE(graph->hoverFraction());
  EXPECT_FALSE(QToolTip::isVisible());

  // Over the legend row there is no readout, and the help shows.
  askForHelp({156, 6});
  EXPECT_FALSE(graph->hoverFraction());
  EXPECT_TRUE(QToolTip::isVisible());
  EXPECT_EQ(QToolTip::text(), plot()->toolTip());
  QToolTip::hideText();
}

TEST(GraphWindowTest, MouseStartsAtItsOwnWidthAndResetsToIt) {
  GraphWindow w(800, 300);
  EXPECT_EQ(w.width(), 300);
  w.zoom(2.0 / 3.0, 0.5);
  w.set(450, w.width());
  w.reset();
  EXPECT_EQ(w.lo(), 0);
  EXPECT_EQ(w.width(), 300);
}

}  // namespace
}  // namespace quillon::ui
