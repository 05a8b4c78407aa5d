#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "quillon/platform/display_change.h"

namespace quillon::platform {
namespace {

// The main run loop, turned by hand: what is posted runs at `turn()`.
struct Loop {
  std::vector<std::function<void()>> posted;
  void turn() {
    std::vector<std::function<void()>> now;
    now.swap(posted);
    for (auto& f : now) f();
  }
};

// A script of Core Graphics' calls: 'b' a call with the begin flag, 'e' one
// without, '|' a turn of the run loop. The result is what the core saw.
std::string run(const std::string& script) {
  Loop loop;
  std::string seen;
  ReconfigurationCoalescer coalescer(
      [&loop](std::function<void()> f) { loop.posted.push_back(std::move(f)); },
      [&seen](bool beginning) { seen += beginning ? 'B' : 'E'; });
  for (char c : script) {
    if (c == '|') loop.turn();
    if (c == 'b' || c == 'e') coalescer.onDisplayCallback(c == 'b');
  }
  loop.turn();
  return seen;
}

TEST(ReconfigurationCoalescer, EachChangeReachesTheCoreAsOneBeginAndOneEnd) {
  struct Case {
    const char* what;
    const char* calls;
    const char* seen;
  };
  const Case cases[] = {
      {"one display", "b|e", "BE"},
      {"three displays", "bbb|eee", "BE"},
      {"begins and ends in the same turn", "bbee", "BE"},
      {"a display that comes with the change has no begin", "bb|eee", "BE"},
      {"a display that goes may have no end", "bbb|ee", "BE"},
      {"an end without any begin", "ee", "E"},
      {"two changes, one after the other", "bb|ee|bb|ee", "BEBE"},
      {"nothing", "", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(run(c.calls), c.seen) << c.what << ": " << c.calls;
  }
}

TEST(ReconfigurationCoalescer, TheEndWaitsForTheRunLoopAndIsDroppedWithTheCoalescer) {
  Loop loop;
  std::string seen;
  {
    ReconfigurationCoalescer coalescer(
        [&loop](std::function<void()> f) { loop.posted.push_back(std::move(f)); },
        [&seen](bool beginning) { seen += beginning ? 'B' : 'E'; });
    coalescer.onDisplayCallback(true);
    coalescer.onDisplayCallback(false);
    coalescer.onDisplayCallback(false);
    EXPECT_EQ(seen, "B");  // the other displays' end calls may still come
    EXPECT_EQ(loop.posted.size(), 1u);
  }
  loop.turn();
  EXPECT_EQ(seen, "B");
}

}  // namespace
}  // namespace quillon::platform
