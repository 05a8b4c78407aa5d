#include <atomic>
#include <cmath>
#include <mutex>
#include <thread>
#include <vector>

#include "gtest/gtest.h"
#include "helper/screens.h"

namespace quillon {
namespace {

using platform::DisplayDescription;

// Reports whatever the test set, and counts how often it was asked.
class FakeDisplays : public platform::Displays {
 public:
  std::vector<DisplayDescription> activeDisplays() override {
    std::lock_guard guard(mutex_);
    ++asked_;
    return displays_;
  }
  void setReconfigurationCallback(ReconfigurationCallback) override {}

  void set(std::vector<DisplayDescription> d) {
    std::lock_guard guard(mutex_);
    displays_ = std::move(d);
  }
  int asked() {
    std::lock_guard guard(mutex_);
    return asked_;
  }

 private:
  std::mutex mutex_;
  std::vector<DisplayDescription> displays_;
  int asked_ = 0;
};

// A laptop panel at the origin and a larger external display to its right,
// reaching higher and lower than the panel.
const DisplayDescription kBuiltIn{{0, 0, 1440, 900}, 302, 189, true};
const DisplayDescription kExternal{{1440, -200, 2560, 1440}, 597, 336, false};

class ScreensTest : public testing::Test {
 protected:
  FakeDisplays displays_;
  Screens screens_{displays_};
};

TEST_F(ScreensTest, DisplayUnderThePointerElseTheBuiltInOne) {
  displays_.set({kExternal, kBuiltIn});
  struct Row {
    std::optional<Point> at;
    const DisplayDescription& expected;
  };
  for (const Row& r : {Row{Point{2000, -100}, kExternal}, Row{Point{100, 100}, kBuiltIn},
                       Row{Point{1440, 0}, kExternal},  // the panel's right edge is outside it
                       Row{Point{-5, 0}, kBuiltIn}, Row{std::nullopt, kBuiltIn}}) {
    DisplayInfo info = screens_.displayInfo(r.at);
    EXPECT_EQ(info.bounds, r.expected.bounds);
    EXPECT_DOUBLE_EQ(info.widthPts, r.expected.bounds.width);
    EXPECT_DOUBLE_EQ(info.ptsPerMM, r.expected.bounds.width / r.expected.widthMM);
  }
}

TEST_F(ScreensTest, FirstDisplayWhenNoneIsBuiltIn) {
  DisplayDescription unknownSize{{-1920, 0, 1920, 1080}, 0, 0, false};
  displays_.set({unknownSize, kExternal});
  DisplayInfo info = screens_.displayInfo();
  EXPECT_EQ(info.bounds, unknownSize.bounds);
  EXPECT_EQ(info.ptsPerMM, 5);  // physical size unknown
}

TEST_F(ScreensTest, FallbackWithNoDisplays) {
  DisplayInfo info = screens_.displayInfo(Point{10, 10});
  EXPECT_EQ(info.ptsPerMM, 5);
  EXPECT_EQ(info.widthPts, 1470);
  EXPECT_EQ(info.bounds, Rect{});
  EXPECT_EQ(screens_.clampToScreens(Point{-50, 7}), (Point{-50, 7}));
  // An empty list is read again each time: a display may have appeared.
  int before = displays_.asked();
  screens_.currentScreens();
  EXPECT_EQ(displays_.asked(), before + 1);
}

TEST_F(ScreensTest, ClampsToTheNearestDisplay) {
  displays_.set({kBuiltIn, kExternal});
  struct Row {
    Point p;
    Point expected;
  };
  for (const Row& r : {
           Row{{700, 450}, {700, 450}},         // on a display: unchanged
           Row{{-50, 100}, {0, 100}},           // left of the panel: its left edge
           Row{{100, 2000}, {100, 899.99}},     // below the panel: inside its bottom edge
           Row{{5000, 100}, {3999.99, 100}},    // right of the external display
           Row{{1000, -500}, {1000, 0}},        // above: the panel is nearer than the external
           Row{{1300, -400}, {1440, -200}},     // above both, nearer the external's corner
           Row{{1400, 1300}, {1440, 1239.99}},  // below both: the external reaches lower
       }) {
    Point q = screens_.clampToScreens(r.p);
    EXPECT_DOUBLE_EQ(q.x, r.expected.x) << r.p.x << "," << r.p.y;
    EXPECT_DOUBLE_EQ(q.y, r.expected.y) << r.p.x << "," << r.p.y;
  }
}

TEST_F(ScreensTest, ANaNPointLandsOnADisplay) {
  displays_.set({kBuiltIn, kExternal});
  Point q = screens_.clampToScreens(Point{std::nan(""), std::nan("")});
  EXPECT_EQ(q, (Point{0, 0}));
}

TEST_F(ScreensTest, ListIsReadOnceAndReplacedWholeOnRefresh) {
  displays_.set({kBuiltIn});
  EXPECT_EQ(screens_.currentScreens().size(), 1u);
  screens_.displayInfo();
  screens_.clampToScreens(Point{-1, -1});
  EXPECT_EQ(displays_.asked(), 1);

  displays_.set({kExternal, kBuiltIn});
  EXPECT_EQ(screens_.currentScreens().size(), 1u);  // not read again until told
  screens_.refreshScreens();
  std::vector<Screen> now = screens_.currentScreens();
  ASSERT_EQ(now.size(), 2u);
  EXPECT_EQ(now[0].bounds, kExternal.bounds);
  EXPECT_FALSE(now[0].builtIn);
  EXPECT_TRUE(now[1].builtIn);
}

TEST_F(ScreensTest, MoreDisplaysThanTheInlineBuffer) {
  std::vector<DisplayDescription> many;
  for (int i = 0; i < 20; ++i) many.push_back({{i * 100.0, 0, 100, 100}, 20, 10, false});
  displays_.set(many);
  EXPECT_EQ(screens_.displayInfo(Point{1950, 50}).bounds, many[19].bounds);
  EXPECT_EQ(screens_.clampToScreens(Point{2500, 50}), (Point{1999.99, 50}));
}

// Readers on one thread see either the old or the new list while another
// thread refreshes, never a mixture.
TEST_F(ScreensTest, RefreshWhileReading) {
  const DisplayDescription left{{-1000, 0, 1000, 800}, 250, 160, false};
  displays_.set({kBuiltIn});
  std::atomic<bool> done{false};
  std::thread refresher([&] {
    for (int i = 0; i < 500; ++i) {
      displays_.set(i % 2 ? std::vector{kBuiltIn} : std::vector{left, kBuiltIn});
      screens_.refreshScreens();
    }
    done = true;
  });
  while (!done) {
    Point q = screens_.clampToScreens(Point{-500, 100});
    EXPECT_TRUE(q == (Point{0, 100}) || q == (Point{-500, 100}));
    EXPECT_EQ(screens_.displayInfo().bounds, kBuiltIn.bounds);
  }
  refresher.join();
}

}  // namespace
}  // namespace quillon
