// The graph in words: which curve is current, and each shown curve's value
// at the visible range's ends and middle.
#include <gtest/gtest.h>

#include "app/ui/graph/curve_description.h"

namespace quillon::ui {
namespace {

TEST(CurveDescription, SaysTheCurrentCurveFirstAndEachValueAsOneReadsAGraph) {
  const Curves curves = {
      {CurveMode::custom, {{0, 10}, {100, 16}, {200, 28}, {400, 40}}},
      {CurveMode::windows, {{0, 4}, {200, 8.44}, {400, 12}}},
      {CurveMode::mac, {{0, 2}, {400, 6}}},
  };
  struct Case {
    const char* name;
    CurveMode current;
    double xMin, xMax;
    const char* said;
  };
  const Case cases[] = {
      {"custom current", CurveMode::custom, 0, 200,
       "Custom, current: 10 pt/mm at 0 mm/s, 16 at 100, 28 at 200. "
       "Mac: 2.0 pt/mm at 0 mm/s, 3.0 at 100, 4.0 at 200. "
       "Windows: 4.0 pt/mm at 0 mm/s, 6.2 at 100, 8.4 at 200."},
      {"windows current, a zoomed range", CurveMode::windows, 300, 400,
       "Windows, current: 10 pt/mm at 300 mm/s, 11 at 350, 12 at 400. "
       "Mac: 5.0 pt/mm at 300 mm/s, 5.5 at 350, 6.0 at 400. "
       "Custom: 34 pt/mm at 300 mm/s, 37 at 350, 40 at 400."},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(describeCurves(curves, c.current, c.xMin, c.xMax).toStdString(), c.said) << c.name;
  }
}

TEST(CurveDescription, LeavesOutWhatIsNotThere) {
  // A curve that ends inside the range gives the speeds it reaches; one
  // beyond it says so; no curve at all is said too.
  const Curves shortCurve = {{CurveMode::custom, {{0, 10}, {100, 20}}},
                             {CurveMode::mac, {{500, 3}, {600, 4}}},
                             {CurveMode::windows, {}}};
  EXPECT_EQ(describeCurves(shortCurve, CurveMode::custom, 0, 200).toStdString(),
            "Custom, current: 10 pt/mm at 0 mm/s, 20 at 100. "
            "Mac: beyond the shown speeds.");
  EXPECT_EQ(describeCurves({}, CurveMode::mac, 0, 200).toStdString(), "No curve to show");
}

}  // namespace
}  // namespace quillon::ui
